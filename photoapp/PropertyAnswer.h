/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "photoapp/Catalogue.h"

#include <QDBusArgument>
#include <QMetaType>
#include <QStringList>

// One photo's property answer as it goes on the wire: the values present as a{sv}, beside the
// names of those reported as missing values (see DBUS.md). Written straight into the reply, with
// no dictionary built per request on the way: a scan asks this once per photo, many at a time.
struct PropertyAnswer {
    Catalogue::Photo photo;
    QStringList nullKeys;   // answered as missing values
    QStringList absentKeys; // left out altogether, whatever else is said of them

    // The keys named as missing values: nullKeys less those that are absent.
    QStringList missingValues() const;
};
Q_DECLARE_METATYPE(PropertyAnswer)

// The a{sv} part; the reply carries missingValues() as its second argument.
QDBusArgument& operator<<(QDBusArgument& arg, const PropertyAnswer& answer);
const QDBusArgument& operator>>(const QDBusArgument& arg, PropertyAnswer& answer);
