/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QString>
#include <chrono>
#include <functional>
#include <memory>

class iPhotoApplication;

// Finishes the zombie recoveries earlier runs left unfinished (killed, or the application gone
// while it may have held their files): every run does this first, and the window at launch. A
// dry run only reports. Journals another running Vup is working on are left to it.
namespace RecoveryResume {

bool anyUnfinished();
// What waits, without touching it: one line per unfinished recovery.
QString describeUnfinished();

// One line per unfinished recovery for the user, e.g. "Vup finished an interrupted zombie
// recovery: 3 re-added, 1 put back, 0 still parked in FOLDER."; empty when there was none. A dry
// run only describes them.
QString finishInterrupted(const std::shared_ptr<const iPhotoApplication>& application, bool dryRun,
                          const std::function<bool()>& cancelled,
                          std::chrono::milliseconds poll = std::chrono::seconds(1));

// Those lines, which the log and the report keep in English, in the user's language.
QString shownLines(const QString& lines);

} // namespace RecoveryResume
