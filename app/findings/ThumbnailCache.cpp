/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "app/findings/ThumbnailCache.h"

#include "platform/MainThread.h"

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Pictures kept: a few screens' worth, about 12 KB each.
constexpr int kKept = 600;
// Requests waiting beyond this many newer ones are dropped; the window asks again for what it
// still shows.
constexpr qsizetype kQueued = 64;
// Two decoders keep up with scrolling without taking the machine from the window.
constexpr int kWorkers = 2;

} // namespace

ThumbnailCache::ThumbnailCache(QSize box, QObject* parent) : QObject(parent), size(box), pictures(kKept) {
    workers.setMaxThreadCount(kWorkers);
}

ThumbnailCache::~ThumbnailCache() {
    stopping.store(true);
    {
        QMutexLocker lock(&queueMutex);
        queue.clear();
    }
    workers.waitForDone();
}

ThumbnailCache::State ThumbnailCache::lookup(const QByteArray& file, QPixmap* picture) {
    if (file.isEmpty())
        return State::NoPicture;
    if (const QPixmap* known = pictures.object(file)) {
        *picture = *known;
        return known->isNull() ? State::NoPicture : State::Ready;
    }
    if (!pending.contains(file))
        request(file);
    return State::Pending;
}

void ThumbnailCache::forget() {
    ++generation;
    pictures.clear();
    pending.clear();
    QMutexLocker lock(&queueMutex);
    queue.clear();
}

void ThumbnailCache::request(const QByteArray& file) {
    pending.insert(file);
    {
        QMutexLocker lock(&queueMutex);
        queue.append(file);
        while (queue.size() > kQueued)
            pending.remove(queue.takeFirst());
    }
    workers.start([this] { decodeNext(); });
}

void ThumbnailCache::decodeNext() {
    QByteArray file;
    quint64 askedIn = 0;
    {
        QMutexLocker lock(&queueMutex);
        if (queue.isEmpty())
            return;
        file = queue.takeLast();
        askedIn = generation.load();
    }
    const QImage image = decode(file, size);
    if (stopping.load())
        return;
    MainThread::run(
        this, [this, file, image, askedIn] { answer(file, image, askedIn); }, MainThread::Wait::No);
}

void ThumbnailCache::answer(const QByteArray& file, const QImage& image, quint64 askedIn) {
    if (askedIn != generation.load())
        return;
    pending.remove(file);
    pictures.insert(file, new QPixmap(QPixmap::fromImage(image)));
    emit decoded(file);
}

QImage ThumbnailCache::decode(const QByteArray& file, QSize box) {
    // Opened by its bytes, which need not be UTF-8; without waiting on a FIFO or a device, and
    // only a plain file is read.
    const int fd = ::open(file.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return {};
    struct stat st {};
    QFile device;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        !device.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return {};
    }
    QImageReader reader(&device);
    reader.setAutoTransform(true);
    const QSize full = reader.size();
    if (full.isValid() && (full.width() > box.width() || full.height() > box.height()))
        reader.setScaledSize(full.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    QImage image = reader.read();
    // Formats that cannot decode at a smaller size come back whole.
    if (!image.isNull() && (image.width() > box.width() || image.height() > box.height()))
        image = image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}

const QPixmap& ThumbnailCache::placeholder() {
    if (!missing.isNull())
        return missing;
    // A frame with a crossed-out picture: plainly "no picture here", at the size pictures take.
    missing = QPixmap(size);
    missing.fill(Qt::transparent);
    QPainter p(&missing);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF frame =
        QRectF(QPointF(0, 0), QSizeF(size))
            .adjusted(size.width() * 0.15, size.height() * 0.1, -size.width() * 0.15, -size.height() * 0.1);
    p.setPen(QPen(QColor(150, 150, 150), 1.5, Qt::DashLine));
    p.setBrush(QColor(235, 235, 235));
    p.drawRoundedRect(frame, 3, 3);
    p.setPen(QPen(QColor(190, 60, 60), 2));
    const QRectF cross = frame.adjusted(frame.width() * 0.3, frame.height() * 0.25, -frame.width() * 0.3,
                                        -frame.height() * 0.25);
    p.drawLine(cross.topLeft(), cross.bottomRight());
    p.drawLine(cross.topRight(), cross.bottomLeft());
    return missing;
}
