/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "bridge/DarktableApplication.h"
#include "bridge/PhotoApplications.h"
#include "bridge/TextColumn.h"
#include "bridge/iPhotoBridge.h"
#include "scan/report/ScanFindings.h"
#include "scan/zombies/ZombieDetector.h"

#include <QMutex>
#include <QString>
#include <QStringList>
#include <ctime>
#include <memory>

class SBUtils;
class ScanDoor;
class VupDelegate;

// The scan engine: one per application, serving every run. vupScan runs a whole scan on the
// calling (scan) thread and reaches the user only through the run's door (ScanDoor), which it
// makes over the delegate.
class VupMode {
public:
    // Issue keywords, in the order they are verified.
    static const QString kMissingKeyword;
    static const QString kMasterMissingKeyword;
    static const QString kProductWord;

    VupMode();
    ~VupMode();
    VupMode(const VupMode&) = delete;
    VupMode& operator=(const VupMode&) = delete;

    // One run, start to summary. Whatever happens inside, the controller returns to idle
    // (processingComplete, then stopAnimation) exactly once.
    void vupScan(VupDelegate* delegate);

    qint64 selectionCount() const;
    // The photos selected in the application now; none when the selection holds an album.
    QList<qint64> selectedPhotoIds() const;
    qint64 libraryCount() const;
    bool photoApplicationIsRunning() const;
    // The application runs talk to from now on; photoapp until told otherwise.
    void useApplication(PhotoApplications::Kind kind);
    PhotoApplications::Kind applicationKind() const;
    const PhotoApplication& application() const { return *active; }
    // The library package the photo with this id lies in, as the application answers now; empty
    // when it is not running, knows no such photo or names no path inside a package.
    QString libraryOfPhoto(qint64 id) const;

    // The zombie stage: files below the library's Masters folder that no master path names, and
    // their recovery into a new album; what became of them goes into `findings`.
    ZombieDetection detectZombies(const TextColumn& originalsPathList, ScanDoor& door,
                                  const QString& libraryFolder);
    ZombieRecoveryReport recoverZombieFiles(const ZombieDetection& found, ScanDoor& door,
                                            const timespec& photoListTime);
    void detectAndRecoverZombies(const TextColumn& originalsPathList, ScanDoor& door, ScanFindings& findings,
                                 const QString& libraryFolder, const timespec& photoListTime);
    // Zombie recoveries earlier runs left unfinished: a run finishes them first (a dry run only
    // tells of them); the window at launch, on a thread of its own, with resumeRecoveriesAtLaunch.
    QString resumeRecoveries(const ScanDoor& door);
    void resumeRecoveriesAtLaunch(VupDelegate* delegate);

    // A dry run makes every check and changes nothing: no keyword import, no removal, no tag,
    // no zombie recovery. What it would have done is in lastRun().
    void setDryRun(bool dryRun) { dryRunMode = dryRun; }
    bool dryRun() const { return dryRunMode; }

    // The findings of the latest run; read once the run has ended.
    ScanFindings lastRun() const;

    // The closing text of a run that made `changes` changes: the issues sentence, then the zombie
    // paragraph (which brings its own leading line breaks), or the congratulations when both are
    // empty.
    // `application` is the name these sentences give the photo application; `keepsMasters` whether
    // it has master files, which a run may tag as missing too.
    static QString summaryText(qsizetype changes, const QString& zombieParagraph, bool selectionMode,
                               const QString& application, bool keepsMasters);
    // The closing text of a dry run: what a real run would change.
    static QString dryRunSummaryText(qsizetype changes, const QString& zombieParagraph, bool selectionMode,
                                     const QString& application);

private:
    struct Run;
    // Why a run stopped before its end.
    enum class Stop {
        None,
        VersionRefused,
        KeywordsRefused,
        NothingToProcess,
        ListsIncomplete,
        Cancelled,
        ApplicationLost,
        InternalError,
        AnotherScan,
    };

    // The stages of a run, in order; each answers whether the run goes on.
    bool checkApplication(Run& run);
    // Takes the library's lock for the rest of the run; false when another run holds it.
    bool lockLibrary(Run& run);
    bool takePhotoList(Run& run);
    bool loadLists(Run& run);
    bool zombieStage(Run& run);
    bool endZombieStage(Run& run);
    bool perPhotoPass(Run& run);
    bool tagPhotos(Run& run);

    // "Found N images with issues", with every photo the load and the pass found an issue with.
    void logIssueCount(Run& run);
    void removeOrKeep(Run& run, qsizetype position, bool imageGone);
    bool tagEach(Run& run, const QList<qsizetype>& positions, const QString& keyword,
                 QList<qsizetype>& tagged);
    // Cancel stops a run only until its changes begin; the window's button follows.
    bool beginChanges(Run& run);
    void allowCancel(Run& run);
    // True (with the reason noted) when the user cancelled or the application is gone.
    bool interrupted(Run& run);
    // Stops the run for `why`, unless what made the stage stop was a cancel or a lost application.
    bool stopRun(Run& run, Stop why);
    // The one place where a run's ending is decided and told: outcome, status, notification,
    // alert, and the return to idle.
    void endRun(Run& run);
    void endStoppedRun(Run& run);
    void endRefusedRun(Run& run);
    void endFailedRun(Run& run);
    void endFinishedRun(Run& run);
    // The closing text of a run that went to its end; photosLeft when some photo could not be
    // checked or changed.
    static QString finishedSummary(const ScanFindings& findings, bool selectionMode, bool photosLeft,
                                   const QString& application, bool keepsMasters);
    static QString problemFree(bool selectionMode, const QString& application);
    void returnToIdle(Run& run);

    // The stages of a run on darktable, where tags are made on demand and nothing is parked.
    bool darktableStages(Run& run);
    bool checkDarktable(Run& run);
    bool readDarktableImages(Run& run);
    bool darktableZombies(Run& run);
    bool darktablePass(Run& run);
    bool darktableChanges(Run& run);

    std::shared_ptr<iPhotoApplication> photoApplication;
    std::unique_ptr<SBUtils> sbutils;
    std::shared_ptr<DarktableApplication> darktable;
    PhotoApplication* active = nullptr;
    bool dryRunMode = false;

    mutable QMutex findingsMutex;
    ScanFindings latest;
};
