#pragma once

#include "bridge/iPhotoBridge.h"
#include "scan/ScanFindings.h"
#include "scan/ZombieDetector.h"

#include <QMutex>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <memory>

class SBUtils;
class VupDelegate;

// The scan engine: one per application, serving every run. vupScan runs a whole scan on the
// calling (scan) thread and reaches the user only through the delegate.
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

    // One run, start to summary. Whatever happens inside, cleanupRun is called exactly once.
    void vupScan(VupDelegate* delegate);
    // Returns the controller to idle: processingComplete, then stopAnimation, each waited for.
    void cleanupRun(VupDelegate* delegate);

    qint64 selectionCount() const;
    qint64 libraryCount() const;
    bool photoApplicationIsRunning() const;

    // The zombie stage: files below the library's Masters folder that no master path names, and
    // their recovery into a new album; what became of them goes into `findings`.
    ZombieDetection detectZombies(const QVariantList& originalsPathList, VupDelegate* delegate);
    ZombieRecoveryReport recoverZombieFiles(const ZombieDetection& found, VupDelegate* delegate);
    void zombieStage(const QVariantList& originalsPathList, VupDelegate* delegate, ScanFindings& findings);
    // Zombie recoveries earlier runs left unfinished: a run finishes them first (a dry run only
    // tells of them); the window at launch, on a thread of its own, with resumeRecoveriesAtLaunch.
    QString resumeRecoveries(VupDelegate* delegate);
    void resumeRecoveriesAtLaunch(VupDelegate* delegate);

    // A dry run makes every check and changes nothing: no keyword import, no removal, no tag,
    // no zombie recovery. What it would have done is in lastRun().
    void setDryRun(bool dryRun) { dryRunMode = dryRun; }
    bool dryRun() const { return dryRunMode; }

    // The findings of the latest run; read once the run has ended.
    ScanFindings lastRun() const;

    SBUtils& bridge() { return *sbutils; }

    // The text of the closing alert for a run with these issues and this zombie paragraph.
    static QString summaryText(qsizetype issues, const QString& zombieParagraph, bool selectionMode);

private:
    void runSteps(VupDelegate* delegate, ScanFindings& findings, bool& cleanedUp);

    std::shared_ptr<iPhotoApplication> photoApplication;
    std::unique_ptr<SBUtils> sbutils;
    bool dryRunMode = false;

    mutable QMutex findingsMutex;
    ScanFindings latest;
};
