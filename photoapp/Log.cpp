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

} // namespace PhotoAppLog
