/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "scan/VupMode.h"
#include "tests/support/RecordingDelegate.h"

#include <QThread>
#include <memory>

// Runs one scan on a scan thread of its own, the way the window starts one, and waits for it.
inline bool runScanThread(VupMode& vup, RecordingDelegate& delegate, int timeoutMs = 120000) {
    std::unique_ptr<QThread> scan(QThread::create([&vup, &delegate] { vup.vupScan(&delegate); }));
    scan->setObjectName(QStringLiteral("scan"));
    scan->start();
    return scan->wait(timeoutMs);
}
