#pragma once

#include "bridge/iPhotoBridge.h"
#include "scan/ScanFindings.h"

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
    // their recovery into a new album.
    // Zombies are native file names (bytes): a name need not be valid UTF-8.
    QList<QByteArray> detectZombies(const QVariantList& originalsPathList, VupDelegate* delegate);
    void recoverZombieFiles(const QList<QByteArray>& zombies, VupDelegate* delegate);

    // A dry run makes every check and changes nothing: no keyword import, no removal, no tag,
    // no zombie recovery. What it would have done is in lastRun().
    void setDryRun(bool dryRun) { dryRunMode = dryRun; }
    bool dryRun() const { return dryRunMode; }

    // The findings of the latest run; read once the run has ended.
    ScanFindings lastRun() const;

    SBUtils& bridge() { return *sbutils; }

    // The text of the closing "Success" alert for a run with these counts.
    static QString summaryText(qsizetype issues, qsizetype zombies, bool selectionMode);

private:
    void runSteps(VupDelegate* delegate, ScanFindings& findings, bool& cleanedUp);

    std::shared_ptr<iPhotoApplication> photoApplication;
    std::unique_ptr<SBUtils> sbutils;
    bool dryRunMode = false;

    mutable QMutex findingsMutex;
    ScanFindings latest;
};
