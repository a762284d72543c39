#pragma once

#include <QObject>

// The terminal face of the delegate operations, driven through real streams: prompts answered
// on standard input, --yes, end of input, alerts and progress lines.
class TerminalDelegateTest : public QObject {
    Q_OBJECT
private slots:
    void accessPromptAsksUntilYes();
    void accessPromptEndsAtEndOfInput();
    void assumeYesReadsNothing();
    void modalAlertWaitsForOneLine();
    void sheetAlertAndStatusLines();
    void progressAsPlainLines();
};
