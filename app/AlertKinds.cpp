/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "app/AlertKinds.h"

#include <QHash>

MessageBox::Kind alertKind(const QString& title) {
    using Kind = MessageBox::Kind;
    static const QHash<QString, Kind> kinds{
        {QStringLiteral("Success"), Kind::Information},
        {QStringLiteral("Interrupted Zombie Recovery"), Kind::Information},
        {QStringLiteral("Unable To Process"), Kind::Warning},
        {QStringLiteral("Unsupported Version"), Kind::Warning},
        {QStringLiteral("Missing Keywords"), Kind::Warning},
        {QStringLiteral("Scan Incomplete"), Kind::Warning},
        {QStringLiteral("Error"), Kind::Critical},
        {QStringLiteral("Unable To Continue"), Kind::Critical},
    };
    return kinds.value(title, Kind::Warning);
}
