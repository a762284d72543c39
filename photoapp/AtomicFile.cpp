/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "photoapp/AtomicFile.h"

#include <QFile>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qsizetype kChunk = 1 << 20;
constexpr int kMaxNames = 100000;

QByteArray descriptorPath(int fd) {
    return "/proc/self/fd/" + QByteArray::number(fd);
}

} // namespace

AtomicFile::AtomicFile(const QString& folder) : folderPath(folder) {
    folderFd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0) {
        lastError = errno;
        return;
    }
    // A nameless file can be named only through /proc without privileges.
    if (::access(descriptorPath(folderFd).constData(), F_OK) == 0)
        fd = ::openat(folderFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0644);
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        tempName = ".photoapp-" + QByteArray::number(QRandomGenerator::global()->generate(), 16) + ".part";
        fd = ::openat(folderFd, tempName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        lastError = errno;
        tempName.clear();
    }
}

AtomicFile::~AtomicFile() {
    if (fd >= 0)
        ::close(fd);
    if (!tempName.isEmpty())
        ::unlinkat(folderFd, tempName.constData(), 0);
    if (folderFd >= 0)
        ::close(folderFd);
}

bool AtomicFile::fail(int error) {
    lastError = error;
    return false;
}

bool AtomicFile::write(const QByteArray& bytes, const std::function<bool()>& stop) {
    if (fd < 0)
        return false;
    qsizetype done = 0;
    while (done < bytes.size()) {
        if (stop && stop())
            return fail(ECANCELED);
        const qsizetype size = std::min(kChunk, bytes.size() - done);
        const ssize_t n = ::write(fd, bytes.constData() + done, static_cast<size_t>(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return fail(n < 0 ? errno : ENOSPC);
        done += n;
    }
    return true;
}

bool AtomicFile::linkUnder(const QByteArray& name) {
    if (tempName.isEmpty())
        return ::linkat(AT_FDCWD, descriptorPath(fd).constData(), folderFd, name.constData(),
                        AT_SYMLINK_FOLLOW) == 0;
    if (::renameat2(folderFd, tempName.constData(), folderFd, name.constData(), RENAME_NOREPLACE) == 0) {
        tempName.clear();
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // No RENAME_NOREPLACE on this file system: a hard link never replaces a file either.
    if (::linkat(folderFd, tempName.constData(), folderFd, name.constData(), 0) != 0)
        return false;
    ::unlinkat(folderFd, tempName.constData(), 0);
    tempName.clear();
    return true;
}

QString AtomicFile::publish(const std::function<QString(int)>& nameFor,
                            const std::function<bool(const QString&)>& beforeName,
                            const std::function<void(const QString&)>& notTaken) {
    if (fd < 0)
        return {};
    if (::fsync(fd) != 0) {
        fail(errno);
        return {};
    }
    for (int n = 0; n < kMaxNames; ++n) {
        const QString name = nameFor(n);
        const QString path = folderPath + QLatin1Char('/') + name;
        struct stat st {};
        // A name that is taken is never noted: the note's file is removed when nobody claims it.
        if (::fstatat(folderFd, QFile::encodeName(name).constData(), &st, AT_SYMLINK_NOFOLLOW) == 0)
            continue;
        if (beforeName && !beforeName(path)) {
            fail(EIO);
            return {};
        }
        if (linkUnder(QFile::encodeName(name))) {
            ::fsync(folderFd); // the new name survives a crash too
            ::close(fd);
            fd = -1;
            return path;
        }
        const int error = errno;
        if (notTaken)
            notTaken(path);
        errno = error;
        if (errno != EEXIST) {
            fail(errno);
            return {};
        }
    }
    fail(EEXIST);
    return {};
}

bool AtomicFile::noRoom() const {
    return lastError == ENOSPC || lastError == EDQUOT || lastError == EFBIG;
}

QString AtomicFile::errorString() const {
    return QString::fromLocal8Bit(std::strerror(lastError));
}
