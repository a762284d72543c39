/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

// Reads a file an import takes, whole, without ever waiting on it: the file is opened without
// blocking and without following a link, and anything the open descriptor shows to be other than
// a regular file (a FIFO, a socket, a device, a folder put in its place) is refused unread.
namespace SourceFile {

// Larger files are refused rather than held in memory.
inline constexpr qint64 kMaxBytes = qint64(1) << 30;

struct Content {
    QByteArray bytes;
    QString refusal; // one of PhotoAppWire's reasons; empty when read
    bool stopped = false;
};

// `stop` is asked between chunks. A file whose first chunk `mayBeWanted` turns down is refused
// as not an image before the rest is read.
Content read(const QByteArray& path, const std::function<bool()>& stop = {},
             const std::function<bool(const QByteArray&)>& mayBeWanted = {});

} // namespace SourceFile
