/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "bridge/iPhotoBridge.h"
#include "scan/engine/ScanDoor.h"
#include "scan/engine/ScanLock.h"
#include "scan/engine/VupMode.h"
#include "scan/report/ScanFindings.h"

#include <QElapsedTimer>
#include <ctime>
#include <memory>

// The state of one scan run on the scan thread, shared by its stages and its ending.
struct VupMode::Run {
    Run(ScanDoor& door, ScanFindings& findings);

    ScanDoor& door;
    ScanFindings& findings;
    ScanDoor::Options options; // as the user had set them when the run began
    Stop stop = Stop::None;
    bool cancellable = true; // false while the run makes its changes
    bool cleanedUp = false;
    bool deleteMode = false;
    bool selectionMode = false;
    // Delete mode: photos of the missing-image set whose file is not known to be gone.
    QList<qsizetype> keptForTagging;
    iPhotoAlbum library;
    iPhotoAlbum trash;
    // The library folder as the application names it, and the run's hold on it.
    QString libraryFolder;
    std::unique_ptr<ScanLock> lock;
    // darktable: each image's file as native bytes, in photo list order.
    QList<QByteArray> nativePaths;
    timespec photoListTime{}; // CLOCK_REALTIME_COARSE, just before the photo list was asked for

    // The status text, through the door: waited for, or (a stage whose work follows at once) not.
    void status(const char* text);
    void stageStatus(const char* text);
    // Milliseconds since the previous lap.
    double lap();
    // Records (and logs) a photo that could not be checked, and a change that was refused.
    void noteUnchecked(qsizetype position, const QString& reason);
    void noteFailedChange(qsizetype position, const QString& action, const QString& reason);

private:
    QElapsedTimer stage;
};
