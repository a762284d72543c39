/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "platform/SystemLog.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDateTime>
#include <cstdio>
#include <mutex>
#include <sys/syscall.h>
#include <syslog.h>
#include <unistd.h>

namespace {

std::mutex& sinkMutex() {
    static std::mutex m;
    return m;
}

SystemLog::Sink& currentSink() {
    static SystemLog::Sink s;
    return s;
}

bool& echo() {
    static bool e = false;
    return e;
}

void writeOut(const QString& message) {
    const QByteArray stamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")).toUtf8();
    const QByteArray text = message.toUtf8();
    const long tid = static_cast<long>(::syscall(SYS_gettid));
    std::fprintf(stderr, "%s Vup[%ld:%ld] %s\n", stamp.constData(), static_cast<long>(::getpid()), tid,
                 text.constData());
    std::fflush(stderr);
    static std::once_flag opened;
    std::call_once(opened, [] { ::openlog("Vup", LOG_PID, LOG_USER); });
    ::syslog(LOG_NOTICE, "%s", text.constData());
}

} // namespace

namespace SystemLog {

void log(const QString& message) {
    Sink sink;
    bool alsoEcho = false;
    {
        std::lock_guard lock(sinkMutex());
        sink = currentSink();
        alsoEcho = echo();
    }
    if (sink) {
        sink(message);
        if (!alsoEcho)
            return;
    }
    writeOut(message);
}

Sink setSink(Sink sink) {
    std::lock_guard lock(sinkMutex());
    Sink previous = std::move(currentSink());
    currentSink() = std::move(sink);
    return previous;
}

void setEchoWhileSinking(bool e) {
    std::lock_guard lock(sinkMutex());
    echo() = e;
}

} // namespace SystemLog
