#pragma once

#include "bridge/iPhotoBridge.h"
#include "scan/ZombieRecoveryReport.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

// What one scan run found and did, for faces that report on it afterwards (the terminal runner's
// listing and JSON report). Positions index the photo list and the three path lists.
struct ScanFindings {
    enum class Outcome {
        NotRun,
        Completed,
        VersionRefused,   // the version check stopped the run
        KeywordsRefused,  // the keyword check stopped the run
        NothingToProcess, // empty photo list, or albums in the selection
        ListsIncomplete,  // loading ended early (cancelled) or lists do not match the photo list
        Failed,           // an internal error ended the run, or the application went away
        Incomplete,       // the run ended, but not all it was asked to do was done
        Cancelled,        // the user cancelled the run
    };

    Outcome outcome = Outcome::NotRun;
    bool selectionMode = false;
    bool deleteMode = false;
    bool dryRun = false;

    QList<iPhotoPhoto> photos;
    QVariantList filenames, paths, originals;

    QList<qsizetype> missingImage;        // ascending
    QList<qsizetype> missingMaster;       // ascending
    QList<qsizetype> removed;             // removed from the library (would be, in a dry run)
    QList<qsizetype> taggedMissing;       // tagged "Vup Missing" (would be, in a dry run)
    QList<qsizetype> taggedMasterMissing; // tagged "Vup Master Missing" (would be, in a dry run)
    QList<QByteArray> zombies;            // native file names: not necessarily valid UTF-8
    ZombieRecoveryReport recovery;        // what became of the zombies and links
    QString zombieDetectionSkipped;       // why detection did not run; empty when it ran
    QString resumedRecovery;              // what finishing earlier runs' recoveries did

    // Wall-clock time of each stage on the scan thread, in milliseconds (-1: not reached).
    struct Timings {
        double loadingMs = -1;
        double zombiesMs = -1;
        double passMs = -1;
        double taggingMs = -1;
    } timings;

    QString summary; // the text of the closing alert
    QString failure; // what ended a failed run

    qsizetype issueCount() const { return missingImage.size() + missingMaster.size(); }
};
