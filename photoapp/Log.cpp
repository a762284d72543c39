/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "photoapp/Log.h"

#include <cstdio>

namespace PhotoAppLog {

void line(const QString& message) {
    const QByteArray text = "photoapp: " + message.toLocal8Bit() + '\n';
    std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stderr);
    std::fflush(stderr);
}

QString shortened(const QString& text) {
    constexpr qsizetype kHead = 120;
    constexpr qsizetype kTail = 120;
    if (text.size() <= kHead + kTail + 1)
        return text;
    return text.left(kHead) + QChar(0x2026) + text.right(kTail);
}

} // namespace PhotoAppLog
