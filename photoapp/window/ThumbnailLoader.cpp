/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "photoapp/window/ThumbnailLoader.h"

#include "photoapp/ImageMetadata.h"

#include <QFile>
#include <QImageReader>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// About 1,500 thumbnails of the largest size: a few screens' worth.
constexpr qsizetype kCacheKilobytes = 96 * 1024;
// More than any screen shows at once; older requests are dropped.
constexpr qsizetype kMostQueued = 400;

QImage fitted(QImage image) {
    if (image.width() > ThumbnailLoader::kSize || image.height() > ThumbnailLoader::kSize)
        image = image.scaled(ThumbnailLoader::kSize, ThumbnailLoader::kSize, Qt::KeepAspectRatio,
                             Qt::SmoothTransformation);
    // The formats the painter draws without converting.
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                         : QImage::Format_RGB32);
}

} // namespace

ThumbnailLoader::ThumbnailLoader(QObject* parent) : QObject(parent), cache(kCacheKilobytes) {
    worker.reset(QThread::create([this] { work(); }));
    worker->setObjectName(QStringLiteral("thumbnails"));
    worker->start(QThread::LowPriority);
}

ThumbnailLoader::~ThumbnailLoader() {
    {
        const QMutexLocker locker(&lock);
        stopping = true;
        wake.wakeAll();
    }
    worker->wait();
}

ThumbnailLoader::Thumbnail ThumbnailLoader::find(qint64 id, const QString& path) {
    if (const Entry* e = cache.object(id); e && e->path == path)
        return e->thumbnail;
    const QMutexLocker locker(&lock);
    if (queued.contains(id)) {
        // Asked again: it is on screen now, so it goes to the front.
        for (qsizetype i = queue.size() - 1; i >= 0; --i) {
            if (queue.at(i).id == id) {
                queue.append(queue.takeAt(i));
                queue.last().path = path;
                break;
            }
        }
        return {};
    }
    queue.append({id, path});
    queued.insert(id);
    if (queue.size() > kMostQueued)
        queued.remove(queue.takeFirst().id);
    wake.wakeOne();
    return {};
}

void ThumbnailLoader::work() {
    QMutexLocker locker(&lock);
    while (!stopping) {
        if (queue.isEmpty()) {
            wake.wait(&lock);
            continue;
        }
        const Request request = queue.takeLast();
        locker.unlock();
        const Thumbnail thumbnail = decode(request.path);
        locker.relock();
        queued.remove(request.id);
        done.append({request, thumbnail});
        if (done.size() == 1)
            QMetaObject::invokeMethod(this, &ThumbnailLoader::deliver, Qt::QueuedConnection);
    }
}

void ThumbnailLoader::deliver() {
    QList<QPair<Request, Thumbnail>> results;
    {
        const QMutexLocker locker(&lock);
        results.swap(done);
    }
    for (const auto& [request, thumbnail] : results) {
        const qsizetype kilobytes = thumbnail.image.sizeInBytes() / 1024 + 1;
        cache.insert(request.id, new Entry{request.path, thumbnail}, kilobytes);
        emit ready(request.id);
    }
}

ThumbnailLoader::Thumbnail ThumbnailLoader::decode(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    // Opened without blocking and looked at through the descriptor: a FIFO or a device named as
    // a photo's image is never read.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {errno == ENOENT || errno == ENOTDIR ? State::Missing : State::Unreadable, {}};
    QFile file;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        !file.open(fd, QIODevice::ReadOnly, QFile::AutoCloseHandle)) {
        ::close(fd);
        return {State::Unreadable, {}};
    }
    QImage image;
    if (const QByteArray embedded = ImageMetadataIo::embeddedThumbnail(path); !embedded.isEmpty())
        image.loadFromData(embedded);
    if (image.isNull()) {
        QImageReader reader(&file);
        reader.setAutoTransform(true);
        const QSize size = reader.size();
        // JPEG decoders scale while decoding: a large photo is never decoded whole.
        if (size.isValid() && (size.width() > kSize || size.height() > kSize))
            reader.setScaledSize(size.scaled(kSize, kSize, Qt::KeepAspectRatio));
        image = reader.read();
    }
    if (image.isNull())
        return {State::Unreadable, {}};
    return {State::Ready, fitted(std::move(image))};
}
