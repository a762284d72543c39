/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "photoapp/DistinctJpegs.h"

#include <QFile>
#include <QMutexLocker>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kBatchesWaiting = 4;
constexpr char kMarker = char(0xFF);
constexpr char kComment = char(0xFE);

bool isApplicationSegment(const QByteArray& jpeg, qsizetype at) {
    return at + 4 <= jpeg.size() && jpeg.at(at) == kMarker && (uchar(jpeg.at(at + 1)) & 0xF0) == 0xE0;
}

bool writeNew(const QString& path, const QByteArray& bytes, QString* why) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        *why = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            *why = QString::fromLocal8Bit(std::strerror(errno));
            ::close(fd);
            return false;
        }
        done += n;
    }
    if (::close(fd) != 0) {
        *why = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    return true;
}

} // namespace

namespace DistinctJpegs {

Template::Template(const QByteArray& jpeg) {
    qsizetype at = 2; // after the start-of-image marker
    while (isApplicationSegment(jpeg, at))
        at += 2 + ((uchar(jpeg.at(at + 2)) << 8) | uchar(jpeg.at(at + 3)));
    at = std::min(at, jpeg.size());
    head = jpeg.left(at);
    tail = jpeg.mid(at);
}

QByteArray Template::copy(int serial) const {
    const QByteArray text = "Vup demo picture " + QByteArray::number(serial);
    const qsizetype length = text.size() + 2; // the length field counts itself
    QByteArray bytes;
    bytes.reserve(head.size() + 4 + text.size() + tail.size());
    bytes.append(head);
    bytes.append(kMarker).append(kComment).append(char(length >> 8)).append(char(length & 0xFF));
    bytes.append(text);
    bytes.append(tail);
    return bytes;
}

Writer::Writer() : room(kBatchesWaiting) {}

Writer::~Writer() {
    pool.waitForDone();
}

void Writer::write(QList<File> files) {
    if (files.isEmpty())
        return;
    room.acquire();
    pool.start([this, files = std::move(files)] {
        writeBatch(files);
        room.release();
    });
}

void Writer::writeBatch(const QList<File>& files) {
    QString why;
    for (const File& f : files) {
        if (failed.load())
            return;
        if (!writeNew(f.path, f.picture->copy(f.serial), &why)) {
            QMutexLocker lock(&failureLock);
            if (!failed.exchange(true))
                failure = QStringLiteral("cannot write %1: %2").arg(f.path, why);
            return;
        }
    }
}

bool Writer::finish(QString* error) {
    pool.waitForDone();
    if (!failed.load())
        return true;
    QMutexLocker lock(&failureLock);
    *error = failure;
    return false;
}

} // namespace DistinctJpegs
