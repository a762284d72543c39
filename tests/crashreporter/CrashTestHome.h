/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

namespace crashtest {

inline const QString kDateKey = QStringLiteral("ZXNCrashReporterLastCrashReportDate");
inline const QString kURLKey = QStringLiteral("ZXNCrashReporterCrashSubmissionURL");
inline const QString kLogName = QStringLiteral("Vup_2026-12-06-101010_host.crash");

// Points every per-user folder (settings, state, data) into `home`, so defaults, crash logs and
// the trash of one test never meet another's or the user's own.
inline void isolateHome(const QTemporaryDir& home) {
    for (const char* variable : {"XDG_CONFIG_HOME", "XDG_STATE_HOME", "XDG_DATA_HOME"})
        qputenv(variable, home.filePath(QString::fromLatin1(variable)).toUtf8());
    qputenv("HOME", home.path().toUtf8());
    // The loopback server must be reached directly even where a proxy is configured.
    qputenv("no_proxy", "127.0.0.1,localhost");
}

inline QString userLogFolder(const QTemporaryDir& home) {
    return home.filePath(QStringLiteral("XDG_STATE_HOME/Logs/DiagnosticReports"));
}

// Writes a crash log (creating its folders) with the given modification time; empty on failure.
inline QString writeLog(const QString& path, const QByteArray& contents, const QDateTime& modified) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
        return {};
    file.close();
    if (!file.open(QIODevice::ReadWrite) || !file.setFileTime(modified, QFileDevice::FileModificationTime))
        return {};
    return path;
}

} // namespace crashtest
