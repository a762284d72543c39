/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "platform/LibraryFolders.h"

#include <QDir>
#include <QMutex>

namespace {

QMutex& machineMutex() {
    static QMutex m;
    return m;
}

QString& machineOverride() {
    static QString path;
    return path;
}

} // namespace

namespace LibraryFolders {

QString userLibrary() {
    const QString state = QString::fromLocal8Bit(qgetenv("XDG_STATE_HOME"));
    if (!state.isEmpty() && QDir::isAbsolutePath(state))
        return QDir::cleanPath(state);
    return QDir::homePath() + QStringLiteral("/.local/state");
}

QString machineLibrary() {
    QMutexLocker lock(&machineMutex());
    return machineOverride().isEmpty() ? QStringLiteral("/var/lib") : machineOverride();
}

QStringList userThenMachine() {
    return {userLibrary(), machineLibrary()};
}

void setMachineLibraryForTesting(const QString& path) {
    QMutexLocker lock(&machineMutex());
    machineOverride() = path;
}

} // namespace LibraryFolders
