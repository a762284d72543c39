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

namespace {

constexpr const char* kUnableToProcess = "Unable To Process";
constexpr const char* kSelectPhotos = "You need to select the photos you want me to process";
constexpr const char* kUnableToContinue = "Unable To Continue";
constexpr const char* kDealWithItems = "You need to deal with the item(s) that %1 could not open because the "
                                       "original referenced item could not be found.";
constexpr const char* kStoppedResponding =
    "%1 stopped responding while Vup was working. Nothing more was changed. Run the scan again when "
    "%1 is running.";
constexpr const char* kSuccess = "Success";
constexpr const char* kScanIncomplete = "Scan Incomplete";
constexpr const char* kIncompleteText = "Vup could not check %1 photo(s) and could not change %2 photo(s); "
                                        "they were left as they were and are listed in the report.";

constexpr const char* kProcessingComplete = "Processing Complete";
constexpr const char* kScanCancelled = "Scan Cancelled";
// Left under a failed run, the last stage's status ("Loading Data") would read as work still going on.
constexpr const char* kScanFailed = "Scan Failed";
// A refused run never began its work: neither "Processing Complete" nor an earlier run's status.
constexpr const char* kScanRefused = "Scan Refused";
constexpr const char* kNotificationText = "Vup has finished processing.";

constexpr const char* kIssuesSummary =
    "Vup discovered %1 issues that were tagged or deleted to make everything happy again.  You can search "
    "for "
    "the keyword \"Vup Missing\" or \"Vup Master Missing\" within %2 to see these images.";
constexpr const char* kSelectionProblemFree =
    "Congratulations, your selected images are problem free and happy.  0 issues found.";
constexpr const char* kLibraryProblemFree =
    "Congratulations, your %1 library is problem free and happy.  0 issues found.";
constexpr const char* kDryRunIssues = "Dry run: Vup found %1 issues that would be tagged or deleted.";

constexpr const char* kAnotherScan = "Another Vup scan is working on this library.";
constexpr const char* kLogCancelled = "Scan cancelled before its changes began";
constexpr const char* kLogLost = "Scan ended: the photo application stopped responding";
constexpr const char* kLogListsIncomplete = "Loading ended before every photo was read";
constexpr const char* kRunFailed = "Scan ended by an internal error: %1";

QString latin(const char* text) {
    return QString::fromLatin1(text);
}

} // namespace

QString VupMode::summaryText(qsizetype changes, const QString& zombieParagraph, bool selectionMode,
                             const QString& application) {
    const QString done =
        (changes > 0 ? latin(kIssuesSummary).arg(changes).arg(application) : QString()) + zombieParagraph;
    if (!done.isEmpty())
        return done;
    return problemFree(selectionMode, application);
}

QString VupMode::problemFree(bool selectionMode, const QString& application) {
    return selectionMode ? latin(kSelectionProblemFree) : latin(kLibraryProblemFree).arg(application);
}

QString VupMode::dryRunSummaryText(qsizetype changes, const QString& zombieParagraph, bool selectionMode,
                                   const QString& application) {
    const QString found = (changes > 0 ? latin(kDryRunIssues).arg(changes) : QString()) + zombieParagraph;
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

void VupMode::endStoppedRun(Run& run) {
    using Outcome = ScanFindings::Outcome;
    ScanDoor& door = run.door;
    ScanFindings& f = run.findings;
    switch (run.stop) {
    case Stop::VersionRefused:
        f.outcome = Outcome::VersionRefused;
        run.status(kScanRefused);
        returnToIdle(run);
        return;
    case Stop::KeywordsRefused:
        f.outcome = Outcome::KeywordsRefused;
        run.status(kScanRefused);
        returnToIdle(run);
        return;
    case Stop::NothingToProcess:
        f.outcome = Outcome::NothingToProcess;
        run.status(kScanRefused);
        returnToIdle(run);
        door.alert(latin(kSelectPhotos), latin(kUnableToProcess));
        return;
    case Stop::ListsIncomplete:
        f.outcome = Outcome::ListsIncomplete;
        f.failure = latin(kLogListsIncomplete);
        vupLog(f.failure);
        run.status(kScanFailed);
        door.alert(latin(kDealWithItems).arg(active->nameInSummaries()), latin(kUnableToContinue));
        returnToIdle(run);
        return;
    case Stop::AnotherScan:
        f.outcome = Outcome::AnotherScan;
        f.failure = latin(kAnotherScan);
        vupLog(f.failure);
        run.status(kScanRefused);
        returnToIdle(run);
        door.alert(f.failure, latin(kUnableToProcess));
        return;
    case Stop::Cancelled:
        f.outcome = Outcome::Cancelled;
        vupLog(latin(kLogCancelled));
        run.status(kScanCancelled);
        returnToIdle(run);
        return;
    case Stop::ApplicationLost:
        f.outcome = Outcome::Failed;
        f.applicationLost = true;
        f.failure = latin(kStoppedResponding).arg(active->displayName());
        vupLog(latin(kLogLost));
        // Zombies still parked are named, so the user knows where their files wait.
        f.summary = f.failure + zombieSummary(f);
        run.status(kScanFailed);
        door.alert(f.summary, latin(kUnableToContinue));
        returnToIdle(run);
        return;
    case Stop::InternalError:
        f.outcome = Outcome::Failed;
        vupLog(latin(kRunFailed).arg(f.failure));
        run.status(kScanFailed);
        door.alert(f.failure, latin(kUnableToContinue));
        returnToIdle(run);
        return;
    case Stop::None:
        return;
    }
}

void VupMode::endFinishedRun(Run& run) {
    ScanDoor& door = run.door;
    ScanFindings& f = run.findings;
    const bool photosLeft = !f.unchecked.isEmpty() || !f.failedChanges.isEmpty();
    const bool incomplete = photosLeft || !zombieStageComplete(f);
    f.outcome = incomplete ? ScanFindings::Outcome::Incomplete : ScanFindings::Outcome::Completed;
    // A run that left photos or zombies undone has finished, but is not complete: neither the status
    // nor a notification seen without the window may say so.
    const char* ending = incomplete ? kScanIncomplete : kProcessingComplete;
    run.status(ending);
    if (!door.userQuit())
        UserNotification::deliver(latin(ending), latin(kNotificationText));
    f.summary = finishedSummary(f, run.selectionMode, photosLeft, active->nameInSummaries());
    door.alert(f.summary, latin(incomplete ? kScanIncomplete : kSuccess));
    returnToIdle(run);
}

QString VupMode::finishedSummary(const ScanFindings& f, bool selectionMode, bool photosLeft,
                                 const QString& application) {
    const QString notes = zombieSummary(f);
    // Nothing to fix: the verdict comes first, and notes (links left alone, a finished resume)
    // follow it rather than replace it.
    if (!photosLeft && f.changeCount() == 0 && f.zombies.isEmpty() && !notes.isEmpty()) {
        const QString verdict = problemFree(selectionMode, application);
        return verdict + (notes.startsWith(u'\n') ? QString() : QStringLiteral("\n\n")) + notes;
    }
    const QString done = f.dryRun ? dryRunSummaryText(f.changeCount(), notes, selectionMode, application)
                                  : summaryText(f.changeCount(), notes, selectionMode, application);
    // A zombie stage that fell short says so in its own sentences.
    if (!photosLeft)
        return done;
    // What could not be done comes first; what was done follows, without congratulations.
    const QString message = latin(kIncompleteText).arg(f.unchecked.size()).arg(f.unchangedPhotoCount());
    const bool nothingDone = f.changeCount() == 0 && f.zombies.isEmpty();
    if (nothingDone)
        return message;
    return message + (done.startsWith(u'\n') ? QString() : QStringLiteral("\n\n")) + done;
}
