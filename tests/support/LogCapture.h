/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "platform/SystemLog.h"

#include <QMutex>
#include <QStringList>

// Collects the system log's lines while it lives; lines may come from any thread.
class LogCapture {
public:
    LogCapture() {
        previous = SystemLog::setSink([this](const QString& line) {
            QMutexLocker lock(&mutex);
            captured.append(line);
        });
    }
    ~LogCapture() { SystemLog::setSink(previous); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    QStringList lines() const {
        QMutexLocker lock(&mutex);
        return captured;
    }
    QStringList linesStartingWith(const QString& prefix) const {
        QStringList result = lines();
        result.removeIf([&](const QString& l) { return !l.startsWith(prefix); });
        return result;
    }

private:
    mutable QMutex mutex;
    QStringList captured;
    SystemLog::Sink previous;
};
