#include "scan/VupMode.h"

#include "bridge/PhotoAppWire.h"
#include "bridge/SBUtils.h"
#include "bridge/iPhotoTypes.h"
#include "platform/FileManager.h"
#include "platform/MainThread.h"
#include "platform/SystemLog.h"
#include "platform/UserNotification.h"
#include "scan/ProgressReporter.h"
#include "scan/VupDelegate.h"
#include "scan/ZombieSummary.h"

#include <QElapsedTimer>
#include <exception>

using MainThread::Wait;

namespace {

constexpr const char* kUnableToProcess = "Unable To Process";
constexpr const char* kSelectPhotos = "You need to select the photos you want me to process";
constexpr const char* kUnableToContinue = "Unable To Continue";
constexpr const char* kDealWithItems =
    "You need to deal with the item(s) that iPhoto could not open because the "
    "original referenced item could not be found.";
constexpr const char* kSuccess = "Success";
constexpr const char* kScanIncomplete = "Scan Incomplete";
constexpr const char* kApplicationGone =
    "iPhoto stopped responding while Vup was working. Nothing more was changed. "
    "Run the scan again when iPhoto is running.";

constexpr const char* kLoadingData = "Loading Data";
constexpr const char* kDetectingZombies = "Detecting Zombies";
constexpr const char* kProcessingImages = "Processing Images";
constexpr const char* kTaggingItems = "Tagging Items";
constexpr const char* kProcessingComplete = "Processing Complete";

constexpr const char* kNotificationText = "Vup has finished processing.";

constexpr const char* kIssuesSummary =
    "Vup discovered %1 issues that were tagged or deleted to make everything happy again.  You can search "
    "for "
    "the keyword \"Vup Missing\" or \"Vup Master Missing\" within iPhoto to see these images.";
constexpr const char* kSelectionProblemFree =
    "Congratulations, your selected images are problem free and happy.  0 issues found.";
constexpr const char* kLibraryProblemFree =
    "Congratulations, your iPhoto library is problem free and happy.  0 issues found.";

// Why a photo with a bad image entry was tagged rather than removed in delete mode: only an image
// path that names a file which is verifiably gone justifies taking a photo out of the library.
constexpr const char* kNotRemovedNullPath =
    "Not removing photo %1 at position %2: its image path is a missing value, so its image file cannot "
    "be checked; tagging it \"Vup Missing\" instead";
constexpr const char* kNotRemovedNoPath =
    "Not removing photo %1 at position %2: no image path was given for it (its properties may have failed); "
    "tagging it \"Vup Missing\" instead";
constexpr const char* kNotRemovedFileExists =
    "Not removing photo %1 at position %2: its image file exists at %3 and only its file name is a missing "
    "value; tagging it \"Vup Missing\" instead";
constexpr const char* kNotRemovedUnknown =
    "Not removing photo %1 at position %2: whether its image file at %3 still exists cannot be told "
    "(it cannot be looked at); tagging it \"Vup Missing\" instead";
constexpr const char* kRunFailed = "Scan ended by an internal error: %1";

QString latin(const char* text) {
    return QString::fromLatin1(text);
}

bool isText(const QVariant& v) {
    return v.metaType().id() == QMetaType::QString;
}

void setStatus(VupDelegate* d, const char* text, Wait wait) {
    const QString status = latin(text);
    MainThread::run(
        d, [d, status] { d->setStatusLabel(status); }, wait);
}

} // namespace

const QString VupMode::kMissingKeyword = QStringLiteral("Vup Missing");
const QString VupMode::kMasterMissingKeyword = QStringLiteral("Vup Master Missing");
const QString VupMode::kProductWord = QStringLiteral("Vup");

VupMode::VupMode()
    : photoApplication(
          iPhotoApplication::applicationWithBundleIdentifier(latin(PhotoAppWire::kBundleIdentifier))),
      sbutils(std::make_unique<SBUtils>()) {}

VupMode::~VupMode() = default;

bool VupMode::photoApplicationIsRunning() const {
    return photoApplication->isRunning();
}

qint64 VupMode::selectionCount() const {
    if (!photoApplicationIsRunning())
        return 0;
    const QList<iPhotoItem> selection = photoApplication->selection();
    // A selection holding an album cannot be scanned, so it counts no photos.
    for (const iPhotoItem& item : selection) {
        if (item.isAlbum())
            return 0;
    }
    return selection.size();
}

qint64 VupMode::libraryCount() const {
    if (!photoApplicationIsRunning())
        return 0;
    return photoApplication->photoLibraryAlbum().photoCount();
}

ScanFindings VupMode::lastRun() const {
    QMutexLocker lock(&findingsMutex);
    return latest;
}

QString VupMode::summaryText(qsizetype issues, const QString& zombieParagraph, bool selectionMode) {
    QString summary;
    if (issues > 0)
        summary = latin(kIssuesSummary).arg(issues);
    summary += zombieParagraph;
    if (summary.isEmpty())
        summary = latin(selectionMode ? kSelectionProblemFree : kLibraryProblemFree);
    return summary;
}

void VupMode::cleanupRun(VupDelegate* d) {
    MainThread::run(
        d, [d] { d->processingComplete(); }, Wait::Yes);
    MainThread::run(
        d, [d] { d->stopAnimation(); }, Wait::Yes);
}

void VupMode::vupScan(VupDelegate* d) {
    ScanFindings findings;
    findings.dryRun = dryRunMode;
    bool cleanedUp = false;
    QString failure;
    try {
        runSteps(d, findings, cleanedUp);
    } catch (const std::exception& e) {
        failure = QString::fromUtf8(e.what());
    } catch (...) {
        failure = QStringLiteral("unknown exception");
    }
    if (!failure.isEmpty()) {
        findings.outcome = ScanFindings::Outcome::Failed;
        findings.failure = failure;
        vupLog(latin(kRunFailed).arg(failure));
        try {
            if (!cleanedUp)
                d->showAlert(failure, latin(kUnableToContinue));
        } catch (...) {
            // Nothing more can be told; the run still has to end properly below.
        }
    }
    if (!cleanedUp)
        cleanupRun(d);
    QMutexLocker lock(&findingsMutex);
    latest = std::move(findings);
}

void VupMode::runSteps(VupDelegate* d, ScanFindings& findings, bool& cleanedUp) {
    using Outcome = ScanFindings::Outcome;
    auto cleanup = [&] {
        cleanedUp = true;
        cleanupRun(d);
    };

    sbutils->setAppDelegate(d);
    if (sbutils->versionCheck()) {
        findings.outcome = Outcome::VersionRefused;
        cleanup();
        return;
    }

    findings.resumedRecovery = resumeRecoveries(d);

    const bool deleteMode = d->autoDelete();
    findings.deleteMode = deleteMode;
    const QStringList keywords{kMissingKeyword, kMasterMissingKeyword};
    // The keyword check may import the keyword image, which a dry run must not do.
    if (!deleteMode && !dryRunMode && sbutils->verifyKeywords(keywords, kProductWord)) {
        findings.outcome = Outcome::KeywordsRefused;
        cleanup();
        return;
    }

    const bool selectionMode = d->selectionMode();
    findings.selectionMode = selectionMode;
    QList<iPhotoPhoto> photos;
    bool holdsAlbum = false;
    if (selectionMode) {
        const QList<iPhotoItem> items = sbutils->getSelection();
        photos.reserve(items.size());
        for (const iPhotoItem& item : items) {
            if (item.isAlbum())
                holdsAlbum = true;
            else
                photos.append(item.photo());
        }
    } else {
        photos = sbutils->getAllImages();
    }
    // An album among the selection would be loaded, tagged or removed as if it were a photo.
    if (photos.isEmpty() || holdsAlbum) {
        findings.outcome = Outcome::NothingToProcess;
        cleanup();
        d->showAlert(latin(kSelectPhotos), latin(kUnableToProcess));
        return;
    }
    const qsizetype n = photos.size();
    findings.photos = photos;

    QElapsedTimer stage;
    auto lap = [&stage] {
        const double ms = double(stage.nsecsElapsed()) / 1e6;
        stage.restart();
        return ms;
    };
    stage.start();
    MainThread::run(
        d, [d] { d->cfgProgressBarIndeterminate(); }, Wait::No);
    setStatus(d, kLoadingData, Wait::No);
    sbutils->loadData(photos);
    const QVariantList filenames = sbutils->filenameList();
    const QVariantList paths = sbutils->pathList();
    const QVariantList originals = sbutils->originalsPathList();
    MainThread::run(
        d, [d] { d->stopAnimation(); }, Wait::No);
    findings.filenames = filenames;
    findings.paths = paths;
    findings.originals = originals;
    findings.timings.loadingMs = lap();

    if (paths.size() != n || filenames.size() != n || originals.size() != n) {
        findings.outcome = Outcome::ListsIncomplete;
        d->showAlert(latin(kDealWithItems), latin(kUnableToContinue));
        cleanup();
        return;
    }

    if (!selectionMode && d->recoverZombies()) {
        setStatus(d, kDetectingZombies, Wait::Yes);
        zombieStage(originals, d, findings);
        findings.timings.zombiesMs = lap();
        if (findings.recovery.applicationLost) {
            findings.outcome = Outcome::Failed;
            findings.summary = latin(kApplicationGone) + zombieSummary(findings);
            d->showAlert(findings.summary, latin(kUnableToContinue));
            cleanup();
            return;
        }
    }

    MainThread::run(
        d, [d, n] { d->cfgProgressBarMaxValue(double(n)); }, Wait::Yes);
    setStatus(d, kProcessingImages, Wait::No);
    const iPhotoAlbum trash = photoApplication->trashAlbum();
    const iPhotoAlbum library = photoApplication->photoLibraryAlbum();
    lap();

    QList<qsizetype> keptForTagging; // delete mode: bad image entries that must not be removed
    ProgressReporter progress(d);
    for (qsizetype i = 0; i < n; ++i) {
        progress.post(double(i + 1));
        const QVariant& f = filenames.at(i);
        const QVariant& p = paths.at(i);
        const QVariant& o = originals.at(i);

        // A master reported as a missing value is simply absent: there is nothing to look up.
        const bool masterExists = isText(o) && FileManager::fileExistsAtPath(o.toString());
        bool imageBad = true;
        if (isText(p)) {
            imageBad = !FileManager::fileExistsAtPath(p.toString());
            if (!imageBad && !masterExists)
                findings.missingMaster.append(i);
        }
        if (!isNullMarker(f) && !imageBad)
            continue;
        findings.missingImage.append(i);
        if (!deleteMode)
            continue;

        const qint64 id = photos.at(i).id();
        // A file behind a folder this process may not search is not gone: only a path the
        // system answers as empty justifies taking the photo out of the library.
        if (isText(p) && imageBad && FileManager::fileIsAbsentAtPath(p.toString())) {
            if (!dryRunMode)
                photos.at(i).removeFrom(library);
            findings.removed.append(i);
        } else {
            keptForTagging.append(i);
            if (isNullMarker(p))
                vupLog(latin(kNotRemovedNullPath).arg(id).arg(i));
            else if (!imageBad)
                vupLog(
                    latin(kNotRemovedFileExists).arg(QString::number(id), QString::number(i), p.toString()));
            else if (isText(p) && !p.toString().isEmpty())
                vupLog(latin(kNotRemovedUnknown).arg(QString::number(id), QString::number(i), p.toString()));
            else
                vupLog(latin(kNotRemovedNoPath).arg(id).arg(i));
        }
    }

    progress.flush();
    findings.timings.passMs = lap();

    const QList<qsizetype>& toTagMissing = deleteMode ? keptForTagging : findings.missingImage;
    if (deleteMode && !dryRunMode) {
        // Only now is it known which keywords this run will assign.
        QStringList needed;
        if (!toTagMissing.isEmpty())
            needed.append(kMissingKeyword);
        if (!findings.missingMaster.isEmpty())
            needed.append(kMasterMissingKeyword);
        if (!needed.isEmpty() && sbutils->verifyKeywords(needed, kProductWord)) {
            findings.outcome = Outcome::KeywordsRefused;
            cleanup();
            return;
        }
    }

    setStatus(d, kTaggingItems, Wait::No);
    if (!dryRunMode)
        library.select();
    for (const qsizetype i : std::as_const(findings.missingMaster)) {
        if (!dryRunMode)
            sbutils->tagImageNoCheck(photos.at(i), kMasterMissingKeyword);
        findings.taggedMasterMissing.append(i);
    }
    if (!toTagMissing.isEmpty() || !deleteMode) {
        if (!dryRunMode)
            library.select();
        for (const qsizetype i : toTagMissing) {
            if (!dryRunMode)
                sbutils->tagImageNoCheck(photos.at(i), kMissingKeyword);
            findings.taggedMissing.append(i);
        }
    }
    if (deleteMode && !dryRunMode)
        trash.select();

    findings.timings.taggingMs = lap();
    setStatus(d, kProcessingComplete, Wait::Yes);
    UserNotification::deliver(latin(kProcessingComplete), latin(kNotificationText));

    const QString summary = summaryText(findings.issueCount(), zombieSummary(findings), selectionMode);
    findings.summary = summary;
    const bool complete = zombieStageComplete(findings);
    findings.outcome = complete ? Outcome::Completed : Outcome::Incomplete;
    d->showAlert(summary, latin(complete ? kSuccess : kScanIncomplete));
    cleanup();
}
