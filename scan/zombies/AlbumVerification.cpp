/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "scan/zombies/AlbumVerification.h"

#include "bridge/iPhotoBridge.h"
#include "scan/zombies/SafeMove.h"
#include "wire/PhotoAppWire.h"

#include <QFile>
#include <QHash>
#include <QThread>
#include <sys/stat.h>

namespace {

qint64 sizeOf(const QByteArray& path) {
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0 ? qint64(st.st_size) : -1;
}

bool isSameFile(const QByteArray& a, const QByteArray& b) {
    struct stat stA {
    }, stB{};
    return ::stat(a.constData(), &stA) == 0 && ::stat(b.constData(), &stB) == 0 && stA.st_dev == stB.st_dev &&
           stA.st_ino == stB.st_ino;
}

struct Added {
    qint64 id = 0;
    QByteArray stored;
    qint64 size = -1;
    bool used = false;
};

// The album's photos a parked file may have become, indexed by file name and by size.
struct Candidates {
    QList<Added> added;
    QHash<qint64, QList<qsizetype>> bySize;
    QHash<QByteArray, QList<qsizetype>> byName;
    bool answered = true;
};

Candidates candidatesOf(const iPhotoAlbum& album, const QSet<qint64>& notToClaim) {
    Candidates out;
    const QList<iPhotoPhoto> photos = album.photos();
    // An empty answer may be a failed request: the count is a second opinion.
    out.answered = !photos.isEmpty() || album.photoCount() == 0;
    for (const iPhotoPhoto& photo : photos) {
        if (notToClaim.contains(photo.id()))
            continue;
        QVariantMap props;
        if (!photo.properties(props)) {
            out.answered = false;
            continue;
        }
        const QVariant original = props.value(QString::fromLatin1(PhotoAppWire::kOriginalPath));
        if (original.metaType() != QMetaType::fromType<QString>())
            continue;
        Added photoFile;
        photoFile.id = photo.id();
        photoFile.stored = QFile::encodeName(original.toString());
        const qint64 size = sizeOf(photoFile.stored);
        if (size < 0)
            continue;
        photoFile.size = size;
        QSet<QByteArray> names{SafeMove::lastComponentOf(photoFile.stored)};
        const QVariant filename = props.value(QString::fromLatin1(PhotoAppWire::kImageFilename));
        if (filename.metaType() == QMetaType::fromType<QString>())
            names.insert(QFile::encodeName(filename.toString()));
        for (const QByteArray& name : names)
            out.byName[name].append(out.added.size());
        out.bySize[size].append(out.added.size());
        out.added.append(std::move(photoFile));
    }
    return out;
}

} // namespace

namespace AlbumVerification {

Result verify(const iPhotoAlbum& album, const QSet<qint64>& notToClaim, const QList<Parked>& parked) {
    Result result;
    result.vouchers.fill(0, parked.size());
    result.copies.fill(QByteArray(), parked.size());
    Candidates inAlbum = candidatesOf(album, notToClaim);
    result.answered = inAlbum.answered;
    QList<Added>& added = inAlbum.added;

    // Photos of the zombie's name first, then any of its size: each candidate costs a comparison
    // of bytes, so the cheap tests come first.
    const auto claim = [&](qsizetype i, const QList<qsizetype>& candidates) {
        const qint64 size = sizeOf(parked[i].path);
        for (const qsizetype index : candidates) {
            Added& a = added[index];
            if (!a.used && a.size == size && SafeMove::sameContent(a.stored, parked[i].path) &&
                !isSameFile(a.stored, parked[i].path)) {
                a.used = true;
                result.vouchers[i] = a.id;
                result.copies[i] = a.stored;
                return;
            }
        }
    };
    for (qsizetype i = 0; i < parked.size(); ++i)
        claim(i, inAlbum.byName.value(parked[i].originalName));
    for (qsizetype i = 0; i < parked.size(); ++i) {
        if (result.vouchers[i] == 0)
            claim(i, inAlbum.bySize.value(sizeOf(parked[i].path)));
    }
    return result;
}

ImportWait waitWhileImporting(const iPhotoApplication& application, const std::function<bool()>& cancelled,
                              std::chrono::milliseconds poll) {
    // A failed `importing` request answers false as well, which ends the wait; whether the
    // application is still there then decides.
    while (application.importing()) {
        if (cancelled && cancelled())
            return ImportWait::Cancelled;
        QThread::msleep(static_cast<unsigned long>(poll.count()));
    }
    return application.isRunning() ? ImportWait::Ended : ImportWait::ApplicationGone;
}

} // namespace AlbumVerification
