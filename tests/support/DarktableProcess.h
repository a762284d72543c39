/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "tests/support/ChildProcess.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <optional>

// A real darktable for tests: under an Xvfb of its own on a free display, on the test's session
// bus, with a temporary configuration folder and library. darktable sometimes never takes its bus
// name on a loaded machine, so a start that does not answer Lua in time is killed and tried again;
// both processes are stopped by their process ids.
class DarktableProcess {
public:
    static constexpr int kStartTimeoutMs = 30000;
    static constexpr int kTries = 3;

    // Empty once darktable answers Lua; else what went wrong, for the test's failure message.
    QString start();
    // start() unless darktable is up and answers.
    QString ensureRunning();
    // Main thread only: it reaps a darktable that was killed from elsewhere.
    bool isRunning() const;
    qint64 pid() const { return darktable ? darktable->pid() : 0; }
    // A chunk run as-is (it brings its own `require`), unpinned; nothing on an error or when no
    // answer came within `timeoutMs`.
    static std::optional<QString> lua(const QByteArray& chunk, int timeoutMs = 10000);
    QString folder() const { return dir.path(); }

private:
    bool startDisplay();
    bool startOnce();
    QTemporaryDir dir;
    std::unique_ptr<ChildProcess> display; // outlives darktable, which goes first
    std::unique_ptr<ChildProcess> darktable;
    QString displayName;
};
