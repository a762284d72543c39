/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QCache>
#include <QImage>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QSet>
#include <QString>
#include <QThread>
#include <QWaitCondition>
#include <memory>

// Thumbnails of the photos the grid shows, decoded on a thread of their own so that the window
// never waits on a file, and kept in a cache of bounded size. The request made last is served
// first: scrolling fast, the photos now on screen come before the ones scrolled past, and requests
// far behind are dropped (the grid asks again for what it still shows).
class ThumbnailLoader : public QObject {
    Q_OBJECT
public:
    enum class State { Loading, Ready, Missing, Unreadable };
    struct Thumbnail {
        State state = State::Loading;
        QImage image; // when Ready: at most kSize pixels wide and high
    };
    static constexpr int kSize = 128;

    explicit ThumbnailLoader(QObject* parent = nullptr);
    ~ThumbnailLoader() override;

    // The thumbnail of photo `id` read from `path`; Loading, and queued, when not decoded yet.
    Thumbnail find(qint64 id, const QString& path);

    // Reads one file: its embedded EXIF thumbnail when it has one, else the picture scaled while
    // it is decoded. Missing when there is no file, Unreadable when it is no readable image (or
    // not a regular file, which is never opened for reading).
    static Thumbnail decode(const QString& path);

signals:
    void ready(qint64 id);

private:
    struct Request {
        qint64 id = 0;
        QString path;
    };
    struct Entry {
        QString path;
        Thumbnail thumbnail;
    };
    void work();
    void deliver();

    QCache<qint64, Entry> cache;
    QMutex lock; // guards what follows
    QWaitCondition wake;
    QList<Request> queue; // newest last
    QSet<qint64> queued;
    QList<QPair<Request, Thumbnail>> done;
    bool stopping = false;
    std::unique_ptr<QThread> worker;
};
