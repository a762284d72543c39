/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "crashreporter/SendOnceBody.h"

#include <cstring>

SendOnceBody::SendOnceBody(QByteArray body, QObject* parent) : QIODevice(parent), bytes(std::move(body)) {
    open(QIODevice::ReadOnly);
}

qint64 SendOnceBody::bytesAvailable() const {
    return bytes.size() - position + QIODevice::bytesAvailable();
}

bool SendOnceBody::reset() {
    return position == 0;
}

qint64 SendOnceBody::readData(char* data, qint64 maxSize) {
    const qint64 n = std::min(maxSize, bytes.size() - position);
    std::memcpy(data, bytes.constData() + position, static_cast<std::size_t>(n));
    position += n;
    return n;
}

qint64 SendOnceBody::writeData(const char*, qint64) {
    return -1;
}
