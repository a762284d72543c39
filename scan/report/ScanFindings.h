/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "bridge/TextColumn.h"
#include "bridge/iPhotoBridge.h"
#include "scan/zombies/ZombieRecoveryReport.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// What one scan run found and did, for faces that report on it afterwards (the terminal runner's
// listing and JSON report). Positions index the photo list and the three path lists.
struct ScanFindings {
    // The keywords a run tags photos with: the photo application and the user search for them.
    static constexpr const char* kMissingKeyword = "Vup Missing";
    static constexpr const char* kMasterMissingKeyword = "Vup Master Missing";
    // Why a photo could not be checked: kept in English by the findings, the report and the log,
    // and translated where the user reads it (findingTextShown).
    static constexpr const char* kUncheckedProperties =
        QT_TRANSLATE_NOOP("VupMode", "its properties could not be read: %1");
    static constexpr const char* kUncheckedImage =
        QT_TRANSLATE_NOOP("VupMode", "its image file %1 cannot be looked at: %2");
    static constexpr const char* kUncheckedMaster =
        QT_TRANSLATE_NOOP("VupMode", "its master file %1 cannot be looked at: %2");
    // Why a change failed when darktable answered without an error but the change is not there.
    static constexpr const char* kChangeNotConfirmed =
        QT_TRANSLATE_NOOP("VupMode", "darktable did not confirm it");

    enum class Outcome {
        NotRun,
        Completed,        // every photo checked, every change confirmed
        Incomplete,       // finished, but some photos unchecked, some changes refused or zombies left
        Failed,           // the application was lost, or an internal error ended the run
        Cancelled,        // the user stopped the run before its changes began
        VersionRefused,   // the version check stopped the run
        KeywordsRefused,  // the keyword check stopped the run
        NothingToProcess, // empty photo list, or albums in the selection
        ListsIncomplete,  // loading ended early for another reason than cancel or a lost application
        AnotherScan,      // another run was working on the library: nothing was done
    };

    // A photo the run could not check: it is in neither set and nothing was done to it.
    struct Unchecked {
        qsizetype position = -1;
        qint64 id = -1;
        QString reason;
    };
    // A change the application did not confirm.
    struct FailedChange {
        qsizetype position = -1;
        qint64 id = -1;
        QString action; // "remove", "tag Vup Missing", "tag Vup Master Missing"
        QString reason;
    };

    Outcome outcome = Outcome::NotRun;
    QString application = QStringLiteral("photoapp"); // the display name of the one the run talked to
    bool selectionMode = false;
    bool deleteMode = false;
    bool dryRun = false;
    bool applicationLost = false;

    QList<iPhotoPhoto> photos;
    TextColumn filenames, paths, originals;

    QList<qsizetype> missingImage;  // ascending
    QList<qsizetype> missingMaster; // ascending
    QList<Unchecked> unchecked;     // ascending
    // Confirmed changes in the order they were made (would be made, in a dry run).
    QList<qsizetype> removed;
    QList<qsizetype> taggedMasterMissing;
    QList<qsizetype> taggedMissing;
    QList<FailedChange> failedChanges; // in the order they were tried
    QList<QByteArray> zombies;         // native file names: not necessarily valid UTF-8
    ZombieRecoveryReport recovery;     // what became of the zombies and links
    QString zombieDetectionSkipped;    // why detection did not run; empty when it ran
    QString resumedRecovery;           // what finishing earlier runs' recoveries did

    // Wall-clock time of each stage on the scan thread, in milliseconds (-1: not reached).
    struct Timings {
        double loadingMs = -1;
        double zombiesMs = -1;
        double passMs = -1;
        double taggingMs = -1;
    } timings;

    QString summary; // the text of the closing alert
    QString failure; // what ended a failed run

    // Issues found: a photo in both sets counts twice.
    qsizetype issueCount() const { return missingImage.size() + missingMaster.size(); }
    // Changes the application confirmed (or, in a dry run, that would be made).
    qsizetype changeCount() const {
        return removed.size() + taggedMasterMissing.size() + taggedMissing.size();
    }
    // Photos with at least one refused change.
    qsizetype unchangedPhotoCount() const {
        QSet<qsizetype> positions;
        for (const FailedChange& change : failedChanges)
            positions.insert(change.position);
        return positions.size();
    }
};
