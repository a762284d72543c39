/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QString>
#include <functional>

// What zombie detection and recovery tell the user and ask of the run that makes them. Any of
// them may be empty: then nothing is told, nobody is asked and nothing cancels.
struct ZombieCalls {
    // True once the run was cancelled; polled as the walk and the import wait go.
    std::function<bool()> cancelled;
    // Asks the user to open the library for reading; returns once answered.
    std::function<void(const QString& path)> accessPrompt;
    // No photo names a library: zombie recovery has nothing to look at, and is switched off.
    std::function<void()> noLibrary;
    // The recovery's status, and its steps, one per zombie: each step is shown, and the call
    // returns, before that zombie moves.
    std::function<void(const QString& text)> status;
    std::function<void(double steps)> progressMax;
    std::function<void(double step)> progressStep;

    bool isCancelled() const { return cancelled && cancelled(); }
};
