/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "platform/OwnEmailAddress.h"

std::optional<QString> ownEmailAddress() {
    const QString address = QString::fromLocal8Bit(qgetenv("EMAIL")).trimmed();
    if (address.isEmpty())
        return std::nullopt;
    return address;
}
