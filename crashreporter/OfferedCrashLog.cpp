/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "crashreporter/OfferedCrashLog.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* kNotTheOfferedFile = QT_TRANSLATE_NOOP(
    "ZXNCrashReporter", "The crash log %1 is not the regular file that was offered; nothing was sent.");
constexpr const char* kUnreadable =
    QT_TRANSLATE_NOOP("ZXNCrashReporter", "The crash log %1 cannot be read: %2");
constexpr const char* kReplacedSinceOffered = "it is no longer the file that was offered";

QString localized(const char* text) {
    return QCoreApplication::translate("ZXNCrashReporter", text);
}

QString errorText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

class Descriptor {
public:
    explicit Descriptor(int descriptor) : fd(descriptor) {}
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd; }

private:
    int fd;
};

QDateTime modificationDate(const struct stat& info) {
    return QDateTime::fromMSecsSinceEpoch(
        static_cast<qint64>(info.st_mtim.tv_sec) * 1000 + info.st_mtim.tv_nsec / 1'000'000, Qt::UTC);
}

} // namespace

OfferedCrashLog::OfferedCrashLog(QString path) : logPath(std::move(path)) {
    struct stat info {};
    if (!logPath.isEmpty() && ::lstat(QFile::encodeName(logPath).constData(), &info) == 0 &&
        S_ISREG(info.st_mode))
        identity = Identity{info.st_dev, info.st_ino};
}

QString OfferedCrashLog::fileName() const {
    return QFileInfo(logPath).fileName();
}

std::optional<OfferedCrashLog::Contents> OfferedCrashLog::read(QString* failure) const {
    const auto fail = [&](const QString& reason) {
        if (failure)
            *failure = reason;
        return std::nullopt;
    };
    // Not blocking: a pipe put in the log's place must fail the check below, not stall the send.
    const Descriptor fd(
        ::open(QFile::encodeName(logPath).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) {
        const int error = errno;
        if (error == ELOOP)
            return fail(localized(kNotTheOfferedFile).arg(logPath));
        return fail(localized(kUnreadable).arg(logPath, errorText(error)));
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0)
        return fail(localized(kUnreadable).arg(logPath, errorText(errno)));
    if (!S_ISREG(info.st_mode) || !identity || info.st_dev != identity->device ||
        info.st_ino != identity->inode)
        return fail(localized(kNotTheOfferedFile).arg(logPath));

    Contents contents{QByteArray(), modificationDate(info)};
    contents.bytes.reserve(static_cast<qsizetype>(info.st_size));
    char buffer[64 * 1024];
    while (true) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return fail(localized(kUnreadable).arg(logPath, errorText(errno)));
        if (n == 0)
            return contents;
        contents.bytes.append(buffer, n);
    }
}

bool OfferedCrashLog::isStillTheOfferedFile(QString* failure) const {
    struct stat info {};
    QString reason;
    if (::lstat(QFile::encodeName(logPath).constData(), &info) != 0)
        reason = errorText(errno);
    else if (!S_ISREG(info.st_mode) || !identity || info.st_dev != identity->device ||
             info.st_ino != identity->inode)
        reason = QString::fromLatin1(kReplacedSinceOffered);
    else
        return true;
    if (failure)
        *failure = reason;
    return false;
}

bool OfferedCrashLog::remove(QString* failure) const {
    if (!isStillTheOfferedFile(failure))
        return false;
    if (::unlink(QFile::encodeName(logPath).constData()) == 0)
        return true;
    if (failure)
        *failure = errorText(errno);
    return false;
}
