/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "scan/zombies/SafeMove.h"

#include <QString>
#include <memory>

// One run per library: a run holds an exclusive lock named after its library's device and inode (in
// $XDG_STATE_HOME/vup/), so that a second run, from this window, another window or the terminal,
// and whatever spelling of the library it was given, keeps off a library a run works on. The
// library is whatever the application names it by: a folder (photoapp's package) or a file
// (darktable's database). The kernel lets go of the lock however the process ends.
class ScanLock {
public:
    enum class Result { Held, Busy, Unavailable };

    ~ScanLock();
    ScanLock(const ScanLock&) = delete;
    ScanLock& operator=(const ScanLock&) = delete;

    // Null unless Held; Unavailable when the library or the state folder cannot be used (the run
    // goes on without a lock: it has no journal to keep either).
    static std::unique_ptr<ScanLock> acquire(const QString& library, Result* result);

private:
    explicit ScanLock(SafeMove::Fd file) : fd(std::move(file)) {}
    SafeMove::Fd fd;
};
