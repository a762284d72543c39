/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "platform/UserDefaults.h"
#include "tests/crashreporter/CrashTestHome.h"
#include "tests/crashreporter/LoopbackServer.h"

#include <memory>

// One new crash log waiting in an isolated home, a report date stored before it, and a loopback
// server configured as the submission address: what every report-sending test starts from.
struct PendingCrashLog {
    std::unique_ptr<QTemporaryDir> home;
    std::unique_ptr<LoopbackServer> server;
    QString logPath;
    QDateTime storedDate = QDateTime::fromMSecsSinceEpoch(1'700'000'000'000, Qt::UTC);
    QDateTime logDate = storedDate.addSecs(100).addMSecs(250);

    bool start(const QByteArray& contents) {
        home = std::make_unique<QTemporaryDir>();
        if (!home->isValid())
            return false;
        crashtest::isolateHome(*home);
        UserDefaults::standard().reload();
        server = std::make_unique<LoopbackServer>();
        logPath = crashtest::writeLog(QDir(crashtest::userLogFolder(*home)).filePath(crashtest::kLogName),
                                      contents, logDate);
        if (!server->start() || logPath.isEmpty())
            return false;
        UserDefaults::standard().setDate(crashtest::kDateKey, storedDate);
        UserDefaults::standard().setString(crashtest::kURLKey, server->url().toString());
        return true;
    }
};
