/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "scan/engine/VupMode.h"

#include "bridge/iPhotoTypes.h"
#include "platform/FileAccess.h"
#include "platform/FileManager.h"
#include "platform/SystemLog.h"
#include "scan/engine/KeywordVerification.h"
#include "scan/engine/ProgressReporter.h"
#include "scan/engine/SBUtils.h"
#include "scan/engine/ScanDoor.h"
#include "scan/engine/VersionCheck.h"
#include "scan/engine/VupModeRun.h"
#include "scan/zombies/ZombieRecovery.h"
#include "wire/PhotoAppWire.h"

#include <QCoreApplication>
#include <QHash>
#include <QSet>
#include <cstring>
#include <exception>

using FileManager::Presence;

namespace {

// The status line's texts, translated as they are handed to the window.
constexpr const char* kLoadingData = QT_TRANSLATE_NOOP("VupMode", "Loading Data");
constexpr const char* kDetectingZombies = QT_TRANSLATE_NOOP("VupMode", "Detecting Zombies");
constexpr const char* kProcessingImages = QT_TRANSLATE_NOOP("VupMode", "Processing Images");
constexpr const char* kTaggingItems = QT_TRANSLATE_NOOP("VupMode", "Tagging Items");

// Why a photo with a bad image entry was tagged rather than removed in delete mode: only an image
// path that names a file which is verifiably gone justifies taking a photo out of the library.
constexpr const char* kNotRemovedNullPath =
    "Not removing photo %1 at position %2: its image path is a missing value, so its image file cannot "
    "be checked; tagging it \"Vup Missing\" instead";
constexpr const char* kNotRemovedNoPath =
    "Not removing photo %1 at position %2: no image path was given for it; tagging it \"Vup Missing\" "
    "instead";
constexpr const char* kNotRemovedFileExists =
    "Not removing photo %1 at position %2: its image file exists at %3 and only its file name is a missing "
    "value; tagging it \"Vup Missing\" instead";

constexpr const char* kLogUnchecked = "Unchecked photo %1 at position %2: %3";
constexpr const char* kLogFailedChange = "Could not %1 photo %2 at position %3: %4";
constexpr const char* kActionRemove = "remove";
constexpr const char* kActionTag = "tag %1";

QString latin(const char* text) {
    return QString::fromLatin1(text);
}

bool isText(const QVariant& v) {
    return v.metaType().id() == QMetaType::QString;
}

// What the per-photo pass makes of one photo's three entries.
struct PhotoCheck {
    bool imageMissing = false;  // into the missing-image set
    bool masterMissing = false; // into the missing-master set
    bool imageGone = false;     // the image path names a file the system says is not there
    QString unchecked;          // why the photo cannot be classified; empty when it can
};

// One photo's entries as text, kept from photo to photo: reading them allocates nothing.
struct EntryTexts {
    QString path;
    QString original;
};

PhotoCheck checkPhoto(const ScanFindings& f, qsizetype i, EntryTexts& texts) {
    PhotoCheck check;
    Presence image = Presence::Absent;
    const bool hasPath = f.paths.isText(i);
    if (hasPath) {
        f.paths.textInto(i, texts.path);
        const QString& path = texts.path;
        int imageError = 0;
        image = FileManager::presenceAtPath(path, &imageError);
        // A file that cannot be looked at is not known to be gone, nor known to be there.
        if (image == Presence::Unknown) {
            check.unchecked = latin(ScanFindings::kUncheckedImage)
                                  .arg(path, QString::fromLocal8Bit(std::strerror(imageError)));
            return check;
        }
        // The master only matters for a photo whose image is there; a master reported as a
        // missing value is simply absent. An unedited photo's image is its master: one look.
        int masterError = 0;
        Presence master = Presence::Absent;
        if (image == Presence::Exists && f.originals.isText(i)) {
            f.originals.textInto(i, texts.original);
            master =
                texts.original == path ? image : FileManager::presenceAtPath(texts.original, &masterError);
        }
        if (master == Presence::Unknown) {
            check.unchecked = latin(ScanFindings::kUncheckedMaster)
                                  .arg(texts.original, QString::fromLocal8Bit(std::strerror(masterError)));
            return check;
        }
        check.imageGone = image == Presence::Absent && !path.isEmpty();
        check.masterMissing = image == Presence::Exists && master == Presence::Absent;
    }
    check.imageMissing =
        f.filenames.kind(i) == TextColumn::Kind::Null || !hasPath || image == Presence::Absent;
    return check;
}

} // namespace

const QString VupMode::kMissingKeyword = QString::fromLatin1(ScanFindings::kMissingKeyword);
const QString VupMode::kMasterMissingKeyword = QString::fromLatin1(ScanFindings::kMasterMissingKeyword);
const QString VupMode::kProductWord = QStringLiteral("Vup");

VupMode::VupMode()
    : photoApplication(
          iPhotoApplication::applicationWithBundleIdentifier(latin(PhotoAppWire::kBundleIdentifier))),
      sbutils(std::make_unique<SBUtils>(photoApplication)),
      darktable(std::make_shared<DarktableApplication>(QDBusConnection::sessionBus())),
      active(photoApplication.get()) {
    sbutils->setIssueCountLoggedLater(true);
}

void VupMode::useApplication(PhotoApplications::Kind kind) {
    active = kind == PhotoApplications::Kind::Darktable ? static_cast<PhotoApplication*>(darktable.get())
                                                        : photoApplication.get();
}

PhotoApplications::Kind VupMode::applicationKind() const {
    return active == darktable.get() ? PhotoApplications::Kind::Darktable : PhotoApplications::Kind::PhotoApp;
}

VupMode::~VupMode() = default;

bool VupMode::photoApplicationIsRunning() const {
    return active->isRunning();
}

qint64 VupMode::selectionCount() const {
    return selectedPhotoIds().size();
}

QList<qint64> VupMode::selectedPhotoIds() const {
    if (!photoApplicationIsRunning())
        return {};
    if (applicationKind() == PhotoApplications::Kind::Darktable)
        return darktable->selectedIds();
    QList<qint64> ids;
    // A selection holding an album cannot be scanned, so it counts no photos.
    for (const iPhotoItem& item : photoApplication->selection()) {
        if (item.isAlbum())
            return {};
        ids.append(item.photo().id());
    }
    return ids;
}

qint64 VupMode::libraryCount() const {
    if (!photoApplicationIsRunning())
        return 0;
    if (applicationKind() == PhotoApplications::Kind::Darktable)
        return darktable->imageCount();
    return photoApplication->photoLibraryAlbum().photoCount();
}

QString VupMode::libraryOfPhoto(qint64 id) const {
    QVariantMap properties;
    if (applicationKind() != PhotoApplications::Kind::PhotoApp || !photoApplicationIsRunning() ||
        !photoApplication->photoWithId(id).properties(properties))
        return {};
    for (const char* key : {PhotoAppWire::kOriginalPath, PhotoAppWire::kImagePath}) {
        const QVariant path = properties.value(latin(key));
        if (!isText(path))
            continue;
        if (const std::optional<QString> package = FileAccess::libraryPackagePath(path.toString()))
            return *package;
    }
    return {};
}

ScanFindings VupMode::lastRun() const {
    QMutexLocker lock(&findingsMutex);
    return latest;
}

void VupMode::vupScan(VupDelegate* d) {
    ScanFindings findings;
    findings.dryRun = dryRunMode;
    findings.application = active->displayName();
    ScanDoor door(d);
    Run run(door, findings);
    try {
        run.options = door.readOptions();
        // Each stage runs only when the one before it let the run go on.
        if (applicationKind() == PhotoApplications::Kind::Darktable)
            darktableStages(run);
        else
            checkApplication(run) && takePhotoList(run) && loadLists(run) && zombieStage(run) &&
                perPhotoPass(run) && tagPhotos(run);
    } catch (const std::exception& e) {
        run.stop = Stop::InternalError;
        findings.failure = QString::fromUtf8(e.what());
    } catch (...) {
        run.stop = Stop::InternalError;
        findings.failure = QStringLiteral("unknown exception");
    }
    try {
        endRun(run);
    } catch (...) {
        // Nothing more can be told; the run still has to end properly below.
    }
    if (!run.cleanedUp)
        door.returnToIdle();
    active->detach();
    QMutexLocker lock(&findingsMutex);
    latest = std::move(findings);
}

bool VupMode::interrupted(Run& run) {
    if (run.cancellable && run.door.cancelled())
        run.stop = Stop::Cancelled;
    else if (!active->watch())
        run.stop = Stop::ApplicationLost;
    return run.stop != Stop::None;
}

bool VupMode::stopRun(Run& run, Stop why) {
    // An empty answer from a cut-short request is no refusal: the run says what cut it short.
    if (!interrupted(run))
        run.stop = why;
    return false;
}

bool VupMode::beginChanges(Run& run) {
    if (!run.cancellable)
        return true;
    // The button is off before the flag is read a last time: a press is either seen here or
    // no longer possible.
    run.door.setCancellable(false);
    if (interrupted(run))
        return false;
    run.cancellable = false;
    active->setInterruption({});
    return true;
}

void VupMode::allowCancel(Run& run) {
    if (run.cancellable)
        return;
    run.cancellable = true;
    active->setInterruption(run.door.cancelCheck());
    run.door.setCancellable(true);
}

bool VupMode::checkApplication(Run& run) {
    ScanDoor& door = run.door;
    // Every request of the run goes to the process answering now; a cancel cuts short the one
    // that waits.
    const std::function<bool()> cancelled = door.cancelCheck();
    const bool attached = photoApplication->attach(cancelled);
    if (VersionCheck::versionCheck(*photoApplication, door.versionAlert()))
        return stopRun(run, Stop::VersionRefused);
    // An application that came up during the version check is the one this run talks to.
    if (!attached)
        photoApplication->attach(cancelled);
    if (!lockLibrary(run))
        return false;
    // An earlier run's unfinished zombie recovery is finished before anything else. Its album check
    // must not be cut short: an empty answer would put imported zombies back as duplicates.
    photoApplication->setInterruption({});
    run.findings.resumedRecovery = resumeRecoveries(door);
    photoApplication->setInterruption(cancelled);
    if (photoApplication->lost())
        return stopRun(run, Stop::ApplicationLost);

    run.deleteMode = run.options.deleteMode;
    run.findings.deleteMode = run.deleteMode;
    const QStringList keywords{kMissingKeyword, kMasterMissingKeyword};
    // The keyword check may import the keyword image, which a dry run must not do.
    if (!run.deleteMode && !dryRunMode &&
        KeywordVerification(photoApplication, door.keywordCalls()).verifyKeywords(keywords, kProductWord))
        return stopRun(run, Stop::KeywordsRefused);
    return !interrupted(run);
}

bool VupMode::lockLibrary(Run& run) {
    run.libraryFolder = active->libraryPath();
    ScanLock::Result locked = ScanLock::Result::Unavailable;
    run.lock = ScanLock::acquire(run.libraryFolder, &locked);
    if (locked == ScanLock::Result::Busy) {
        run.stop = Stop::AnotherScan;
        return false;
    }
    return true;
}

bool VupMode::takePhotoList(Run& run) {
    // Files that change from here on may be the application's fresh imports, not zombies.
    run.photoListTime = ZombieRecovery::photoListTime();
    run.selectionMode = run.options.selectionMode;
    run.findings.selectionMode = run.selectionMode;
    QList<iPhotoPhoto> photos;
    bool holdsAlbum = false;
    if (run.selectionMode) {
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
    if (photos.isEmpty() || holdsAlbum)
        return stopRun(run, Stop::NothingToProcess);
    run.findings.photos = std::move(photos);
    return true;
}

bool VupMode::loadLists(Run& run) {
    ScanFindings& f = run.findings;
    run.lap();
    run.door.progressIndeterminate();
    run.stageStatus(kLoadingData);
    SBUtils::ImageLists lists;
    const bool loaded = sbutils->loadData(f.photos, lists, run.door.loadCalls());
    f.filenames = std::move(lists.filenameList);
    f.paths = std::move(lists.pathList);
    f.originals = std::move(lists.originalsPathList);
    run.door.busyEnded();
    f.timings.loadingMs = run.lap();

    const qsizetype n = f.photos.size();
    if (!loaded || f.paths.size() != n || f.filenames.size() != n || f.originals.size() != n)
        return stopRun(run, Stop::ListsIncomplete);
    return true;
}

bool VupMode::zombieStage(Run& run) {
    ScanDoor& door = run.door;
    ScanFindings& f = run.findings;
    if (run.selectionMode || !run.options.recoverZombies)
        return true;
    if (interrupted(run))
        return false;
    run.status(kDetectingZombies);
    // The recovery checks its album before it decides what goes back: its requests must not be
    // cut short. Detection and the import wait watch for a cancel themselves.
    photoApplication->setInterruption({});
    detectAndRecoverZombies(f.originals, door, f, run.libraryFolder, run.photoListTime);
    if (run.cancellable)
        photoApplication->setInterruption(door.cancelCheck());
    return endZombieStage(run);
}

// Either application's zombie stage ends alike: timed, then stopped if the application was lost.
bool VupMode::endZombieStage(Run& run) {
    run.findings.timings.zombiesMs = run.lap();
    if (run.findings.recovery.applicationLost)
        return stopRun(run, Stop::ApplicationLost);
    return !interrupted(run);
}

bool VupMode::perPhotoPass(Run& run) {
    ScanFindings& f = run.findings;
    const qsizetype n = f.photos.size();
    // Delete mode removes photos during the pass: from here on the run finishes its changes.
    if (run.deleteMode && !dryRunMode && !beginChanges(run))
        return false;
    if (interrupted(run))
        return false;
    run.door.progressSteps(double(n));
    run.stageStatus(kProcessingImages);
    run.trash = photoApplication->trashAlbum();
    run.library = photoApplication->photoLibraryAlbum();
    if (interrupted(run))
        return false;
    run.lap();

    QHash<qsizetype, QString> failedRequests;
    for (const SBUtils::FailedRequest& r : sbutils->failedPropertyRequests())
        failedRequests.insert(r.position, r.reason);

    ProgressReporter progress(run.door.progressSink());
    EntryTexts texts;
    for (qsizetype i = 0; i < n; ++i) {
        progress.post(double(i + 1));
        if (interrupted(run))
            return false;
        if (const auto failed = failedRequests.constFind(i); failed != failedRequests.constEnd()) {
            run.noteUnchecked(i, latin(ScanFindings::kUncheckedProperties).arg(*failed));
            continue;
        }
        const PhotoCheck check = checkPhoto(f, i, texts);
        if (!check.unchecked.isEmpty()) {
            run.noteUnchecked(i, check.unchecked);
            continue;
        }
        if (check.masterMissing)
            f.missingMaster.append(i);
        if (!check.imageMissing)
            continue;
        f.missingImage.append(i);
        if (run.deleteMode)
            removeOrKeep(run, i, check.imageGone);
    }
    progress.flush();
    f.timings.passMs = run.lap();
    logIssueCount(run);
    return !interrupted(run);
}

void VupMode::logIssueCount(Run& run) {
    const ScanFindings& f = run.findings;
    QSet<qint64> photos;
    for (const iPhotoPhoto& photo : sbutils->imagesWithIssues())
        photos.insert(photo.id());
    for (const QList<qsizetype>* positions : {&f.missingImage, &f.missingMaster})
        for (const qsizetype i : *positions)
            photos.insert(f.photos.at(i).id());
    SBUtils::logIssueCount(photos.size());
}

void VupMode::removeOrKeep(Run& run, qsizetype i, bool imageGone) {
    ScanFindings& f = run.findings;
    const iPhotoPhoto& photo = f.photos.at(i);
    if (imageGone) {
        QString why;
        if (dryRunMode || photo.removeFrom(run.library, &why))
            f.removed.append(i);
        else
            run.noteFailedChange(i, latin(kActionRemove), why);
        return;
    }
    run.keptForTagging.append(i);
    const QString id = QString::number(photo.id());
    const QString position = QString::number(i);
    if (f.paths.kind(i) == TextColumn::Kind::Null)
        vupLog(latin(kNotRemovedNullPath).arg(id, position));
    else if (const QString path = f.paths.text(i); f.paths.isText(i) && !path.isEmpty())
        vupLog(latin(kNotRemovedFileExists).arg(id, position, path));
    else
        vupLog(latin(kNotRemovedNoPath).arg(id, position));
}

bool VupMode::tagPhotos(Run& run) {
    ScanFindings& f = run.findings;
    const QList<qsizetype> toTagMissing = run.deleteMode ? run.keptForTagging : f.missingImage;
    if (run.deleteMode && !dryRunMode) {
        // Only now is it known which keywords this run will assign.
        QStringList needed;
        if (!toTagMissing.isEmpty())
            needed.append(kMissingKeyword);
        if (!f.missingMaster.isEmpty())
            needed.append(kMasterMissingKeyword);
        if (!needed.isEmpty()) {
            // The check may wait for an import or for the user: a cancel can act again there.
            allowCancel(run);
            if (KeywordVerification(photoApplication, run.door.keywordCalls())
                    .verifyKeywords(needed, kProductWord))
                return stopRun(run, Stop::KeywordsRefused);
        }
    }
    if (!dryRunMode && !beginChanges(run))
        return false;

    run.stageStatus(kTaggingItems);
    if (!dryRunMode)
        run.library.select();
    if (!tagEach(run, f.missingMaster, kMasterMissingKeyword, f.taggedMasterMissing))
        return false;
    if (!toTagMissing.isEmpty() || !run.deleteMode) {
        if (!dryRunMode)
            run.library.select();
        if (!tagEach(run, toTagMissing, kMissingKeyword, f.taggedMissing))
            return false;
    }
    if (run.deleteMode && !dryRunMode)
        run.trash.select();
    f.timings.taggingMs = run.lap();
    return true;
}

bool VupMode::tagEach(Run& run, const QList<qsizetype>& positions, const QString& keyword,
                      QList<qsizetype>& tagged) {
    for (const qsizetype i : positions) {
        if (photoApplication->lost())
            return stopRun(run, Stop::ApplicationLost);
        QString why;
        if (dryRunMode || sbutils->tagImageNoCheck(run.findings.photos.at(i), keyword, &why))
            tagged.append(i);
        else
            run.noteFailedChange(i, latin(kActionTag).arg(keyword), why);
    }
    return true;
}

// ---- the run's record ----

VupMode::Run::Run(ScanDoor& runDoor, ScanFindings& f) : door(runDoor), findings(f) {
    stage.start();
}

void VupMode::Run::status(const char* text) {
    door.status(QCoreApplication::translate("VupMode", text));
}

void VupMode::Run::stageStatus(const char* text) {
    door.stageStatus(QCoreApplication::translate("VupMode", text));
}

double VupMode::Run::lap() {
    const double ms = double(stage.nsecsElapsed()) / 1e6;
    stage.restart();
    return ms;
}

void VupMode::Run::noteUnchecked(qsizetype position, const QString& reason) {
    const qint64 id = findings.photos.at(position).id();
    findings.unchecked.append({position, id, reason});
    vupLog(latin(kLogUnchecked).arg(QString::number(id), QString::number(position), reason));
}

void VupMode::Run::noteFailedChange(qsizetype position, const QString& action, const QString& reason) {
    const qint64 id = findings.photos.at(position).id();
    findings.failedChanges.append({position, id, action, reason});
    vupLog(latin(kLogFailedChange).arg(action, QString::number(id), QString::number(position), reason));
}
