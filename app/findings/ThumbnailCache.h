/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QByteArray>
#include <QCache>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QPixmap>
#include <QSet>
#include <QSize>
#include <QThreadPool>
#include <atomic>

class QImage;

// Small pictures of files on disk, decoded at the size they are shown (QImageReader's scaled
// decoding) on threads of their own, never on the window's. Only what the window asks for is
// decoded, the latest requests first; a request that waited while many newer ones came is
// dropped, so fast scrolling never leaves a queue behind. The most recently used pictures are
// kept. Main thread only, but for its own workers.
class ThumbnailCache : public QObject {
    Q_OBJECT
public:
    enum class State { Pending, Ready, NoPicture };

    explicit ThumbnailCache(QSize box, QObject* parent = nullptr);
    ~ThumbnailCache() override;

    // The picture of `file` (a path as bytes) when it is known: Ready with it, NoPicture where
    // there is no file or it is no image. Otherwise asks for it: Pending, and decoded() follows.
    State lookup(const QByteArray& file, QPixmap* picture);
    // What stands where there is no picture.
    const QPixmap& placeholder();
    QSize box() const { return size; }

signals:
    void decoded(const QByteArray& file);

private:
    static QImage decode(const QByteArray& file, QSize box);
    void request(const QByteArray& file);
    void decodeNext();
    void answer(const QByteArray& file, const QImage& image);

    QSize size;
    QCache<QByteArray, QPixmap> pictures; // a null pixmap: no picture
    QSet<QByteArray> pending;             // asked for and not answered
    QPixmap missing;

    QMutex queueMutex;
    QList<QByteArray> queue; // newest last
    std::atomic<bool> stopping{false};
    QThreadPool workers;
};
