/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "platform/SystemLog.h"
#include "platform/UserNotification.h"
#include "scan/engine/ScanDoor.h"
#include "scan/engine/VupMode.h"
#include "scan/engine/VupModeRun.h"
#include "scan/report/ZombieSummary.h"

#include <QCoreApplication>

namespace {

// Alert titles are marked in the context "Alert", so that the window tells their kind in either
// language; everything else the user reads here is in the context "VupMode".
constexpr const char* kUnableToProcess = QT_TRANSLATE_NOOP("Alert", "Unable To Process");
constexpr const char* kSelectPhotos =
    QT_TRANSLATE_NOOP("VupMode", "You need to select the photos you want me to process");
constexpr const char* kUnableToContinue = QT_TRANSLATE_NOOP("Alert", "Unable To Continue");
constexpr const char* kDealWithItems =
    QT_TRANSLATE_NOOP("VupMode", "You need to deal with the item(s) that %1 could not open because the "
                                 "original referenced item could not be found.");
// Also the run's failure, which the report keeps in English.
constexpr const char* kStoppedResponding =
    QT_TRANSLATE_NOOP("VupMode", "%1 stopped responding while Vup was working. Nothing more was changed. "
                                 "Run the scan again when %1 is running.");
constexpr const char* kSuccess = QT_TRANSLATE_NOOP("Alert", "Success");
constexpr const char* kScanIncomplete = QT_TRANSLATE_NOOP("Alert", "Scan Incomplete");
constexpr const char* kIncompleteText =
    QT_TRANSLATE_NOOP("VupMode", "Vup could not check %1 photo(s) and could not change %2 photo(s); "
                                 "they were left as they were and are listed in the report.");

// The status line's last word on a run, which is also the notification's title.
constexpr const char* kProcessingComplete = QT_TRANSLATE_NOOP("VupMode", "Processing Complete");
constexpr const char* kScanIncompleteStatus = QT_TRANSLATE_NOOP("VupMode", "Scan Incomplete");
constexpr const char* kScanCancelled = QT_TRANSLATE_NOOP("VupMode", "Scan Cancelled");
// Left under a failed run, the last stage's status ("Loading Data") would read as work still going on.
constexpr const char* kScanFailed = QT_TRANSLATE_NOOP("VupMode", "Scan Failed");
// A refused run never began its work: neither "Processing Complete" nor an earlier run's status.
constexpr const char* kScanRefused = QT_TRANSLATE_NOOP("VupMode", "Scan Refused");
constexpr const char* kNotificationText = QT_TRANSLATE_NOOP("VupMode", "Vup has finished processing.");

// English says "1 issues": one text serves every count there.
constexpr const char* kIssuesSummary = QT_TRANSLATE_N_NOOP(
    "VupMode", "Vup discovered %n issues that were tagged or deleted to make everything happy again.  You "
               "can search for the keyword \"Vup Missing\" or \"Vup Master Missing\" within %1 to see these "
               "images.");
// An application without master files only ever gets the missing-image tag.
constexpr const char* kIssuesSummaryNoMasters = QT_TRANSLATE_N_NOOP(
    "VupMode", "Vup discovered %n issues that were tagged or deleted to make everything happy again.  You "
               "can search for the tag \"Vup Missing\" within %1 to see these images.");
constexpr const char* kSelectionProblemFree = QT_TRANSLATE_NOOP(
    "VupMode", "Congratulations, your selected images are problem free and happy.  0 issues found.");
constexpr const char* kLibraryProblemFree = QT_TRANSLATE_NOOP(
    "VupMode", "Congratulations, your %1 library is problem free and happy.  0 issues found.");
constexpr const char* kDryRunIssues =
    QT_TRANSLATE_N_NOOP("VupMode", "Dry run: Vup found %n issues that would be tagged or deleted.");

// Also the run's failure, which the report keeps in English.
constexpr const char* kAnotherScan =
    QT_TRANSLATE_NOOP("VupMode", "Another Vup scan is working on this library.");
constexpr const char* kLogCancelled = "Scan cancelled before its changes began";
constexpr const char* kLogLost = "Scan ended: the photo application stopped responding";
constexpr const char* kLogListsIncomplete = "Loading ended before every photo was read";
constexpr const char* kRunFailed = "Scan ended by an internal error: %1";

QString latin(const char* text) {
    return QString::fromLatin1(text);
}

QString shown(const char* text) {
    return QCoreApplication::translate("VupMode", text);
}

QString shown(const char* text, qsizetype n) {
    return QCoreApplication::translate("VupMode", text, nullptr, int(n));
}

QString title(const char* text) {
    return QCoreApplication::translate("Alert", text);
}

} // namespace

QString VupMode::summaryText(qsizetype changes, const QString& zombieParagraph, bool selectionMode,
                             const QString& application, bool keepsMasters) {
    const QString done =
        (changes > 0
             ? shown(keepsMasters ? kIssuesSummary : kIssuesSummaryNoMasters, changes).arg(application)
             : QString()) +
        zombieParagraph;
    if (!done.isEmpty())
        return done;
    return problemFree(selectionMode, application);
}

QString VupMode::problemFree(bool selectionMode, const QString& application) {
    return selectionMode ? shown(kSelectionProblemFree) : shown(kLibraryProblemFree).arg(application);
}

QString VupMode::dryRunSummaryText(qsizetype changes, const QString& zombieParagraph, bool selectionMode,
                                   const QString& application) {
    const QString found = (changes > 0 ? shown(kDryRunIssues, changes) : QString()) + zombieParagraph;
    if (!found.isEmpty())
        return found;
    return problemFree(selectionMode, application);
}

void VupMode::endRun(Run& run) {
    // A run whose last request found the application gone did not end well, whatever it did before.
    if (run.stop == Stop::None && active->lost())
        run.stop = Stop::ApplicationLost;
    if (run.stop == Stop::None)
        endFinishedRun(run);
    else
        endStoppedRun(run);
}

void VupMode::returnToIdle(Run& run) {
    run.cleanedUp = true;
    run.door.returnToIdle();
}

// The failure and the log stay in English (the report and scripts read them); the status and the
// alert are in the user's language.
void VupMode::endStoppedRun(Run& run) {
    switch (run.stop) {
    case Stop::None:
        return;
    case Stop::ListsIncomplete:
    case Stop::ApplicationLost:
    case Stop::InternalError:
        endFailedRun(run);
        return;
    case Stop::VersionRefused:
    case Stop::KeywordsRefused:
    case Stop::NothingToProcess:
    case Stop::AnotherScan:
    case Stop::Cancelled:
        endRefusedRun(run);
        return;
    }
}

// A run that never began its changes: refused, or cancelled before them.
void VupMode::endRefusedRun(Run& run) {
    using Outcome = ScanFindings::Outcome;
    ScanFindings& f = run.findings;
    switch (run.stop) {
    case Stop::VersionRefused:
    case Stop::KeywordsRefused:
        f.outcome = run.stop == Stop::VersionRefused ? Outcome::VersionRefused : Outcome::KeywordsRefused;
        run.status(kScanRefused);
        returnToIdle(run);
        return;
    case Stop::NothingToProcess:
        f.outcome = Outcome::NothingToProcess;
        run.status(kScanRefused);
        returnToIdle(run);
        run.door.alert(shown(kSelectPhotos), title(kUnableToProcess));
        return;
    case Stop::AnotherScan:
        f.outcome = Outcome::AnotherScan;
        f.failure = latin(kAnotherScan);
        vupLog(f.failure);
        run.status(kScanRefused);
        returnToIdle(run);
        run.door.alert(shown(kAnotherScan), title(kUnableToProcess));
        return;
    case Stop::Cancelled:
        f.outcome = Outcome::Cancelled;
        vupLog(latin(kLogCancelled));
        run.status(kScanCancelled);
        returnToIdle(run);
        return;
    default:
        return;
    }
}

void VupMode::endFailedRun(Run& run) {
    using Outcome = ScanFindings::Outcome;
    ScanFindings& f = run.findings;
    switch (run.stop) {
    case Stop::ListsIncomplete:
        f.outcome = Outcome::ListsIncomplete;
        f.failure = latin(kLogListsIncomplete);
        vupLog(f.failure);
        run.status(kScanFailed);
        run.door.alert(shown(kDealWithItems).arg(active->nameInSummaries()), title(kUnableToContinue));
        break;
    case Stop::ApplicationLost:
        f.outcome = Outcome::Failed;
        f.applicationLost = true;
        f.failure = latin(kStoppedResponding).arg(active->displayName());
        vupLog(latin(kLogLost));
        // Zombies still parked are named, so the user knows where their files wait.
        f.summary = shown(kStoppedResponding).arg(active->displayName()) + zombieSummary(f);
        run.status(kScanFailed);
        run.door.alert(f.summary, title(kUnableToContinue));
        break;
    default: // an internal error
        f.outcome = Outcome::Failed;
        vupLog(latin(kRunFailed).arg(f.failure));
        run.status(kScanFailed);
        // What went wrong inside is shown as it came.
        run.door.alert(f.failure, title(kUnableToContinue));
        break;
    }
    returnToIdle(run);
}

void VupMode::endFinishedRun(Run& run) {
    ScanDoor& door = run.door;
    ScanFindings& f = run.findings;
    const bool photosLeft = !f.unchecked.isEmpty() || !f.failedChanges.isEmpty();
    const bool incomplete = photosLeft || !zombieStageComplete(f);
    f.outcome = incomplete ? ScanFindings::Outcome::Incomplete : ScanFindings::Outcome::Completed;
    // A run that left photos or zombies undone has finished, but is not complete: neither the status
    // nor a notification seen without the window may say so.
    const char* ending = incomplete ? kScanIncompleteStatus : kProcessingComplete;
    run.status(ending);
    if (!door.userQuit())
        UserNotification::deliver(shown(ending), shown(kNotificationText));
    f.summary = finishedSummary(f, run.selectionMode, photosLeft, active->nameInSummaries(),
                                active->capabilities().keepsMasterFiles);
    door.alert(f.summary, title(incomplete ? kScanIncomplete : kSuccess));
    returnToIdle(run);
}

QString VupMode::finishedSummary(const ScanFindings& f, bool selectionMode, bool photosLeft,
                                 const QString& application, bool keepsMasters) {
    const QString notes = zombieSummary(f);
    // Nothing to fix: the verdict comes first, and notes (links left alone, a finished resume)
    // follow it rather than replace it.
    if (!photosLeft && f.changeCount() == 0 && f.zombies.isEmpty() && !notes.isEmpty()) {
        const QString verdict = problemFree(selectionMode, application);
        return verdict + (notes.startsWith(u'\n') ? QString() : QStringLiteral("\n\n")) + notes;
    }
    const QString done = f.dryRun
                             ? dryRunSummaryText(f.changeCount(), notes, selectionMode, application)
                             : summaryText(f.changeCount(), notes, selectionMode, application, keepsMasters);
    // A zombie stage that fell short says so in its own sentences.
    if (!photosLeft)
        return done;
    // What could not be done comes first; what was done follows, without congratulations.
    const QString message = shown(kIncompleteText).arg(f.unchecked.size()).arg(f.unchangedPhotoCount());
    const bool nothingDone = f.changeCount() == 0 && f.zombies.isEmpty();
    if (nothingDone)
        return message;
    return message + (done.startsWith(u'\n') ? QString() : QStringLiteral("\n\n")) + done;
}
