#pragma once

#include "tests/scan/TestLibrary.h"

#include <QObject>
#include <memory>

// `vup scan` as a real child process against a served library: arguments, exit status, output,
// the dry run, the JSON report, and runs the application disturbs or that cannot finish their work.
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
    void applicationMisbehavesMidLoad_data();
    void applicationMisbehavesMidLoad();
    void incompleteRunIsReported_data();
    void incompleteRunIsReported();

private:
    // One large library shared by the rows that disturb the application mid-load.
    std::unique_ptr<TestLibrary> midLoadLibrary;
};
