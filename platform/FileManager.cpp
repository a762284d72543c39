/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "platform/FileManager.h"

#include <QFile>
#include <cerrno>
#include <sys/stat.h>

namespace FileManager {

bool fileExistsAtPath(const QString& path) {
    if (path.isEmpty())
        return false;
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0;
}

Presence presenceAtPath(const QString& path, int* error) {
    if (path.isEmpty())
        return Presence::Absent;
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) == 0)
        return Presence::Exists;
    const int why = errno;
    if (why == ENOENT || why == ENOTDIR)
        return Presence::Absent;
    if (error)
        *error = why;
    return Presence::Unknown;
}

qint64 itemSize(const QString& path) {
    if (path.isEmpty())
        return 0;
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return 0;
    return static_cast<qint64>(st.st_size);
}

qint64 sizeOfExistingItem(const QString& path) {
    if (path.isEmpty())
        return 0;
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (::lstat(name.constData(), &st) != 0)
        return 0;
    // A link exists only as far as its target does.
    struct stat target {};
    if (S_ISLNK(st.st_mode) && ::stat(name.constData(), &target) != 0)
        return 0;
    return static_cast<qint64>(st.st_size);
}

} // namespace FileManager
