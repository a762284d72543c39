/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QByteArray>
#include <QFile>

// A size field of a process's /proc status ("VmRSS:", "VmHWM:"...) in kilobytes, of this process
// when `pid` is 0; -1 when it cannot be read.
inline qint64 processStatusKilobytes(const char* field, qint64 pid = 0) {
    QFile status(pid ? QStringLiteral("/proc/%1/status").arg(pid) : QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qsizetype(qstrlen(field))).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}
