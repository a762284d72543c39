/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "photoapp/DBusNames.h"

#include <QStringList>

namespace DBusNames {

bool isValidErrorName(const QString& name) {
    if (name.isEmpty() || name.size() > 255)
        return false;
    const QStringList elements = name.split(QLatin1Char('.'));
    if (elements.size() < 2)
        return false;
    for (const QString& e : elements) {
        if (e.isEmpty() || e.front().isDigit())
            return false;
        for (const QChar c : e) {
            if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != QLatin1Char('_'))
                return false;
        }
    }
    return true;
}

} // namespace DBusNames
