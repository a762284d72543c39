#pragma once

#include <QObject>

// `vup scan` as a real child process against a served library: arguments, exit status, output,
// the dry run and the JSON report.
class ScanCommandTest : public QObject {
    Q_OBJECT
private slots:
    void badArguments_data();
    void badArguments();
    void applicationNotRunning();
    void libraryScanTagsAndPrintsSummary();
    void dryRunChangesNothing();
    void reportDescribesFindings();
    void refusedRunExitsWithOne();
};
