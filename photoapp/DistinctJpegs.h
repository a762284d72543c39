/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QSemaphore>
#include <QString>
#include <QThreadPool>
#include <atomic>

// Many small JPEG files that all differ, made from a few encoded pictures without encoding any
// again: each copy carries a comment segment of its own, which viewers and readers of the picture
// and its metadata pass over.
namespace DistinctJpegs {

class Template {
public:
    explicit Template(const QByteArray& jpeg);
    // The picture with a comment naming `serial` after its application segments (EXIF and the
    // like stay first, where readers look for them).
    QByteArray copy(int serial) const;

private:
    QByteArray head; // up to the comment
    QByteArray tail;
};

struct File {
    QString path;
    const Template* picture = nullptr;
    int serial = 0;
};

// Writes batches of new files on other threads; a file that exists already is an error, never
// overwritten. At most a few batches wait at a time, so a writer that falls behind holds up the
// caller instead of filling the memory.
class Writer {
public:
    Writer();
    ~Writer();
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    void write(QList<File> files);
    // Waits for every batch; false with the first failure.
    bool finish(QString* error);

private:
    void writeBatch(const QList<File>& files);

    QThreadPool pool;
    QSemaphore room;
    std::atomic<bool> failed{false};
    QMutex failureLock;
    QString failure;
};

} // namespace DistinctJpegs
