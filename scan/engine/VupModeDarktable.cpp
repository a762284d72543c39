/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "platform/SystemLog.h"
#include "scan/engine/ProgressReporter.h"
#include "scan/engine/SBUtils.h"
#include "scan/engine/ScanDoor.h"
#include "scan/engine/VersionCheck.h"
#include "scan/engine/VupMode.h"
#include "scan/engine/VupModeRun.h"
#include "scan/report/FindingsTable.h"
#include "scan/zombies/DarktableZombies.h"
#include "scan/zombies/ZombieRecovery.h"

#include <QDateTime>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace {

constexpr const char* kLoadingData = "Loading Data";
constexpr const char* kDetectingZombies = "Detecting Zombies";
constexpr const char* kProcessingImages = "Processing Images";
constexpr const char* kTaggingItems = "Tagging Items";
const QString kUncheckedFile = QStringLiteral("its image file %1 cannot be looked at: %2");
const QString kActionRemove = QStringLiteral("remove");
const QString kActionTag = QStringLiteral("tag %1");
const QString kNotDone = QString::fromLatin1(ScanFindings::kChangeNotConfirmed);
const QString kLogReadFailed = QStringLiteral("darktable's images could not be read: %1");
const QString kLogZombieRefused = QStringLiteral("darktable refused to import %1: %2");
const QString kLogZombieUnreadable = QStringLiteral("darktable cannot read %1: %2");
// The reason the report and the findings give; Findings translates it where it is shown.
const QString kUnreadableZombie = QString::fromUtf8(kZombieUnreadableText);

} // namespace

bool VupMode::darktableStages(Run& run) {
    return checkDarktable(run) && readDarktableImages(run) && darktableZombies(run) && darktablePass(run) &&
           darktableChanges(run);
}

bool VupMode::checkDarktable(Run& run) {
    const std::function<bool()> cancelled = run.door.cancelCheck();
    const bool attached = darktable->attach(cancelled);
    if (VersionCheck::versionCheck(*darktable, run.door.versionAlert()))
        return stopRun(run, Stop::VersionRefused);
    if (!attached)
        darktable->attach(cancelled);
    if (!lockLibrary(run))
        return false;
    // Tags are made when first attached: there is nothing to teach darktable beforehand, and
    // nothing is ever parked, so no earlier recovery waits to be finished.
    run.deleteMode = run.options.deleteMode;
    run.findings.deleteMode = run.deleteMode;
    return !interrupted(run);
}

bool VupMode::readDarktableImages(Run& run) {
    ScanFindings& f = run.findings;
    run.photoListTime = ZombieRecovery::photoListTime();
    run.selectionMode = run.options.selectionMode;
    f.selectionMode = run.selectionMode;
    run.lap();
    run.door.progressIndeterminate();
    run.stageStatus(kLoadingData);
    QString why;
    const std::optional<QList<DarktableApplication::Image>> images =
        darktable->images(run.selectionMode, &why);
    run.door.busyEnded();
    f.timings.loadingMs = run.lap();
    if (!images) {
        vupLog(kLogReadFailed.arg(why));
        return stopRun(run, Stop::ListsIncomplete);
    }
    if (images->isEmpty())
        return stopRun(run, Stop::NothingToProcess);
    for (const DarktableApplication::Image& image : *images) {
        const QByteArray path = image.path();
        const QString shown = QFile::decodeName(path);
        f.photos.append(DarktableApplication::photoWithId(image.id));
        f.filenames.append(QFile::decodeName(image.filename));
        f.paths.append(shown);
        // darktable keeps edits beside the file: the image is its own master.
        f.originals.append(shown);
        run.nativePaths.append(path);
    }
    return !interrupted(run);
}

namespace {

// What darktable answered for each zombie it was asked to import, in the report's terms.
void recordImports(ZombieRecoveryReport& recovery, const QList<DarktableApplication::Import>& imports) {
    for (qsizetype i = 0; i < imports.size(); ++i) {
        ZombieRecoveryReport::Zombie& z = recovery.zombies[i];
        const DarktableApplication::Import& answer = imports.at(i);
        using Result = DarktableApplication::Import::Result;
        switch (answer.result) {
        case Result::Added:
            z.state = ZombieState::ReAdded;
            break;
        // Someone imported it during the run: it was no zombie after all.
        case Result::AlreadyKnown:
            z.state = ZombieState::Appeared;
            break;
        case Result::Vanished:
            z.state = ZombieState::Missing;
            break;
        // Still there, so not gone: left where it is, with the reason.
        case Result::Unreadable:
            recovery.refusals.insert(z.path, kUnreadableZombie.arg(answer.reason));
            vupLog(kLogZombieUnreadable.arg(QFile::decodeName(z.path), answer.reason));
            break;
        case Result::Refused:
            recovery.refusals.insert(z.path, answer.reason);
            vupLog(kLogZombieRefused.arg(QFile::decodeName(z.path), answer.reason));
            break;
        }
    }
}

} // namespace

bool VupMode::darktableZombies(Run& run) {
    ScanFindings& f = run.findings;
    if (run.selectionMode || !run.options.recoverZombies)
        return true;
    if (interrupted(run))
        return false;
    run.status(kDetectingZombies);
    const std::optional<QList<QByteArray>> folders = darktable->filmRolls();
    if (!folders)
        return stopRun(run, Stop::ListsIncomplete);
    const DarktableZombies::Detection found =
        DarktableZombies::detect(*folders, run.nativePaths, run.door.cancelCheck());
    f.zombies = found.zombies;
    f.recovery.linksLeftAlone = found.links;
    f.recovery.cancelled = found.cancelled;
    f.recovery.importedInPlace = true;
    if (!dryRunMode && !found.cancelled && !found.zombies.isEmpty()) {
        // An import cannot be taken back by a cancel: from here on the run finishes what it starts.
        if (!beginChanges(run))
            return false;
        f.recovery.albumName =
            QStringLiteral("Vup Zombies %1").arg(ZombieRecovery::runStamp(QDateTime::currentDateTime()));
        for (const QByteArray& path : found.zombies)
            f.recovery.zombies.append({path, {}, {}, ZombieState::NotMoved});
        QString failure;
        const QList<DarktableApplication::Import> imports =
            darktable->importInPlace(found.zombies, f.recovery.albumName, &failure);
        // The files it never answered for stay as they were found.
        if (imports.size() < found.zombies.size()) {
            f.recovery.applicationLost = darktable->lost();
            vupLog(kLogZombieRefused.arg(f.recovery.albumName, failure));
        }
        recordImports(f.recovery, imports);
    }
    return endZombieStage(run);
}

bool VupMode::darktablePass(Run& run) {
    ScanFindings& f = run.findings;
    const qsizetype n = f.photos.size();
    run.door.progressSteps(double(n));
    run.stageStatus(kProcessingImages);
    ProgressReporter progress(run.door.progressSink());
    // Paths are looked at as darktable spells them, byte for byte: a name that is not UTF-8 is
    // still the file darktable means.
    for (qsizetype i = 0; i < n; ++i) {
        progress.post(double(i + 1));
        if (interrupted(run))
            return false;
        struct stat info {};
        if (::stat(run.nativePaths.at(i).constData(), &info) == 0)
            continue;
        const int error = errno;
        if (error != ENOENT && error != ENOTDIR) {
            run.noteUnchecked(i, kUncheckedFile.arg(f.paths.at(i).toString(),
                                                    QString::fromLocal8Bit(std::strerror(error))));
            continue;
        }
        f.missingImage.append(i);
    }
    progress.flush();
    f.timings.passMs = run.lap();
    SBUtils::logIssueCount(f.missingImage.size());
    return !interrupted(run);
}

bool VupMode::darktableChanges(Run& run) {
    ScanFindings& f = run.findings;
    if (!dryRunMode && !beginChanges(run))
        return false;
    run.stageStatus(kTaggingItems);
    QList<qint64> ids;
    for (const qsizetype i : f.missingImage)
        ids.append(f.photos.at(i).id());
    QList<qsizetype>& done = run.deleteMode ? f.removed : f.taggedMissing;
    const QString action = run.deleteMode ? kActionRemove : kActionTag.arg(kMissingKeyword);
    if (dryRunMode || ids.isEmpty()) {
        done = f.missingImage;
        f.timings.taggingMs = run.lap();
        return true;
    }
    const DarktableApplication::Changes changed =
        run.deleteMode ? darktable->remove(ids) : darktable->attachTag(kMissingKeyword, ids);
    const bool lost = darktable->lost();
    for (const qsizetype i : f.missingImage) {
        const qint64 id = f.photos.at(i).id();
        if (changed.done.contains(id)) {
            done.append(i);
        } else if (const auto refused = changed.refused.constFind(id); refused != changed.refused.cend()) {
            run.noteFailedChange(i, action, refused->isEmpty() ? kNotDone : *refused);
        } else if (!lost) {
            run.noteFailedChange(i, action, changed.failure.isEmpty() ? kNotDone : changed.failure);
        }
    }
    // What darktable never answered for may or may not have changed: the run ends failed, and
    // claims neither.
    if (lost)
        return stopRun(run, Stop::ApplicationLost);
    f.timings.taggingMs = run.lap();
    return true;
}
