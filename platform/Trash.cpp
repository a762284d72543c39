/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "platform/Trash.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <sys/stat.h>

namespace {

constexpr int kMovedOutsideTheTrash = -1;

QString dataHome() {
    const QString data = QString::fromLocal8Bit(qgetenv("XDG_DATA_HOME"));
    if (!data.isEmpty() && QDir::isAbsolutePath(data))
        return data;
    return QDir::homePath() + QStringLiteral("/.local/share");
}

} // namespace

namespace Trash {

bool itemExists(const QString& path) {
    struct stat info {};
    return !path.isEmpty() && ::lstat(QFile::encodeName(path).constData(), &info) == 0;
}

int moveToTrash(const QString& path, QString* trashedPath) {
    // Without the data folder Qt "succeeds" by moving the item into ./files of the working
    // directory; make sure the folder exists and check where the item went.
    const QString data = dataHome();
    if (!QDir().mkpath(data) || !QFileInfo(data).isDir())
        return ENOTDIR;
    QFile file(path);
    if (!file.moveToTrash())
        return file.error() != QFileDevice::NoError ? static_cast<int>(file.error()) : kMovedOutsideTheTrash;
    const QString movedTo = file.fileName();
    if (!QDir::isAbsolutePath(movedTo)) {
        QFile::rename(movedTo, path);
        return kMovedOutsideTheTrash;
    }
    if (trashedPath)
        *trashedPath = movedTo;
    return 0;
}

} // namespace Trash
