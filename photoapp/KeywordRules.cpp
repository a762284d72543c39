/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "photoapp/KeywordRules.h"

#include <QSet>

namespace KeywordRules {

QString refusal(const QString& name) {
    if (name.isEmpty())
        return QStringLiteral("empty");
    // D-Bus cannot carry a NUL: such a name would be stored whole and served cut short.
    if (name.contains(QChar(0)))
        return QStringLiteral("holds a NUL character");
    if (name.toUtf8().size() > kMaxNameBytes)
        return QStringLiteral("longer than %1 bytes").arg(kMaxNameBytes);
    return {};
}

Sorted sort(const QStringList& names) {
    Sorted result;
    QSet<QString> seen;
    for (const QString& name : names) {
        if (const QString why = refusal(name); !why.isEmpty()) {
            result.refused.append({name, why});
            continue;
        }
        const QString key = name.toCaseFolded();
        if (seen.contains(key))
            continue;
        if (result.kept.size() == kMaxKeywordsPerPhoto) {
            ++result.beyondCap;
            continue;
        }
        seen.insert(key);
        result.kept.append(name);
    }
    return result;
}

} // namespace KeywordRules
