/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "photoapp/LibraryLock.h"

#include <QCoreApplication>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {
constexpr auto kLockFileName = "serve.lock";
}

LibraryLock::LibraryLock(const LibraryPackage& library)
    : path(library.databaseDir() + QLatin1Char('/') + QLatin1StringView(kLockFileName)),
      libraryRoot(library.root()) {}

LibraryLock::~LibraryLock() {
    if (fd >= 0)
        ::close(fd);
}

bool LibraryLock::acquire(QString* error) {
    fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) {
        *error = QCoreApplication::translate("LibraryLock", "cannot lock the library %1: %2: %3")
                     .arg(libraryRoot, path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int why = errno;
        char text[32] = {};
        const ssize_t n = ::pread(fd, text, sizeof text - 1, 0);
        const QString holder = QString::fromLatin1(text, std::max<ssize_t>(n, 0)).trimmed();
        ::close(fd);
        fd = -1;
        if (why != EWOULDBLOCK) {
            *error = QCoreApplication::translate("LibraryLock", "cannot lock the library %1: %2")
                         .arg(libraryRoot, QString::fromLocal8Bit(std::strerror(why)));
            return false;
        }
        *error =
            QCoreApplication::translate("LibraryLock",
                                        "the library %1 is already served by process %2; stop that one first")
                .arg(libraryRoot,
                     holder.isEmpty() ? QCoreApplication::translate("LibraryLock", "(unknown)") : holder);
        return false;
    }
    const QByteArray pid = QByteArray::number(static_cast<qint64>(::getpid())) + '\n';
    // Should this fail, the lock holds all the same; only the name of its holder is missing.
    [[maybe_unused]] const bool named =
        ::ftruncate(fd, 0) == 0 &&
        ::pwrite(fd, pid.constData(), static_cast<size_t>(pid.size()), 0) == pid.size();
    return true;
}
