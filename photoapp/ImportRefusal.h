/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QDBusArgument>
#include <QList>
#include <QMetaType>
#include <QString>

// A file an import did not take and why; `(ss)` on the bus.
struct ImportRefusal {
    QString path;
    QString reason;
    bool operator==(const ImportRefusal&) const = default;
};
Q_DECLARE_METATYPE(ImportRefusal)

inline QDBusArgument& operator<<(QDBusArgument& argument, const ImportRefusal& refusal) {
    argument.beginStructure();
    argument << refusal.path << refusal.reason;
    argument.endStructure();
    return argument;
}

inline const QDBusArgument& operator>>(const QDBusArgument& argument, ImportRefusal& refusal) {
    argument.beginStructure();
    argument >> refusal.path >> refusal.reason;
    argument.endStructure();
    return argument;
}
