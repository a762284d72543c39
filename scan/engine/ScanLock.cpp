/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "scan/engine/ScanLock.h"

#include "platform/LibraryFolders.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

namespace {
constexpr const char* kLockFolder = "/vup";
const QString kLockName = QStringLiteral("library-%1-%2.lock");
} // namespace

ScanLock::~ScanLock() = default;

std::unique_ptr<ScanLock> ScanLock::acquire(const QString& library, Result* result) {
    *result = Result::Unavailable;
    struct stat identity {};
    if (library.isEmpty() || ::stat(QFile::encodeName(library).constData(), &identity) != 0)
        return nullptr;
    const QString folder = LibraryFolders::userLibrary() + QLatin1StringView(kLockFolder);
    if (!QDir().mkpath(folder))
        return nullptr;
    const QByteArray path = QFile::encodeName(
        folder + QLatin1Char('/') + kLockName.arg(quint64(identity.st_dev)).arg(quint64(identity.st_ino)));
    SafeMove::Fd fd(::open(path.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!fd.valid())
        return nullptr;
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK)
            *result = Result::Busy;
        return nullptr;
    }
    *result = Result::Held;
    return std::unique_ptr<ScanLock>(new ScanLock(std::move(fd)));
}
