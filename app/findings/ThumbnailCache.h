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
    // Drops every picture and request: the files a run changed may look different by now, or be
    // gone, and a picture kept by path would show what is no longer there.
    void forget();
    // What stands where there is no picture.
    const QPixmap& placeholder();
    QSize box() const { return size; }

signals:
    void decoded(const QByteArray& file);

private:
    static QImage decode(const QByteArray& file, QSize box);
    void request(const QByteArray& file);
    void decodeNext();
    void answer(const QByteArray& file, const QImage& image, quint64 askedIn);

    QSize size;
    QCache<QByteArray, QPixmap> pictures; // a null pixmap: no picture
    QSet<QByteArray> pending;             // asked for and not answered
    QPixmap missing;

    QMutex queueMutex;
    QList<QByteArray> queue; // newest last
    std::atomic<bool> stopping{false};
    std::atomic<quint64> generation{0}; // a decode begun before forget() answers nobody
    QThreadPool workers;
};
