#pragma once

#include <QObject>

class DesktopServices;

// Whole scan runs against a served library: classification and what the run does to the library,
// the delegate operations and their waits, every ending, refusals, cancellation and failures.
class ScanRunTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();

    void classificationTable_data();
    void classificationTable();
    void photosItCannotLookAtAreUnchecked_data();
    void photosItCannotLookAtAreUnchecked();
    void delegateCallsOfLibraryRun();
    void refusals_data();
    void refusals();
    void singlePhotoSelectionIsProcessed();
    void runEndsBeforeItsChanges_data();
    void runEndsBeforeItsChanges();
    void failureMidRunStillCleansUpOnce();
    void summaryTexts();
    void runWithoutNotificationService();
    void countsFollowTheApplication();

private:
    DesktopServices* services = nullptr;
};
