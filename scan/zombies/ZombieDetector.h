/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "bridge/TextColumn.h"
#include "scan/zombies/ZombieCalls.h"

#include <QByteArray>
#include <QList>
#include <QString>

// What one detection found. Paths are native file names (bytes, which need not be valid UTF-8),
// absolute, each once, in no particular order; they may be longer than PATH_MAX.
struct ZombieDetection {
    QList<QByteArray> zombies; // files below Masters that no photo names as its master
    QList<QByteArray> links;   // symbolic links below Masters that no photo names or reaches through
    QByteArray masters;        // the Masters folder walked; empty when none was
    quint64 mastersDevice = 0; // its identity, pinned for the moves that follow
    quint64 mastersInode = 0;
    QString skipped;        // why detection did not run, for the user; empty when it ran
    bool cancelled = false; // the run was cancelled during the walk: nothing was found
};

// Finds zombies: files below the library's Masters folder that no photo names as its master.
//
// Input: the master path of every photo of the library, in load order (an entry that is no text
// or is empty is a photo without a master path); and the library folder as the application names
// it. Without that folder the library is the first one the master paths name. A Masters folder
// that is a link is not walked: what it leads to is not the library's.
//
// The Masters folder is walked once by file descriptors (so depth is not bounded by PATH_MAX),
// hidden items skipped, links not followed, folders that cannot be read passed over; the walk
// is compared on the fly against one hash set of the referenced paths below Masters, so memory
// holds the input list, that set and the zombies. A file a photo reaches under another spelling
// (a link, "..", a hard link) is no zombie. The run's cancel is polled as the walk goes.
class ZombieDetector {
public:
    static ZombieDetection detectZombies(const TextColumn& masterPaths, const ZombieCalls& calls,
                                         const QString& libraryFolder = {});
    // ZombieDetection::skipped, which the report keeps in English, in the user's language.
    static QString shownReason(const QString& skipped);
};
