/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "photoapp/LibraryPackage.h"

#include <QString>

// One service per library, whatever bus each would serve on: `serve` holds an exclusive flock on
// a lock file in the library's Database folder for as long as it runs, with its process id inside
// for whoever finds it taken. The command-line writers take no such lock: they work beside a
// running service through the catalogue's own locking. An flock belongs to its open file, not to
// the process, so nothing SQLite does to its own locks touches it, and the kernel lets go of it
// however the process ends.
class LibraryLock {
public:
    explicit LibraryLock(const LibraryPackage& library);
    ~LibraryLock();
    LibraryLock(const LibraryLock&) = delete;
    LibraryLock& operator=(const LibraryLock&) = delete;

    // False (with a reason naming the holder's process id where known) when it is held already.
    bool acquire(QString* error);

private:
    QString path;
    QString libraryRoot;
    int fd = -1;
};
