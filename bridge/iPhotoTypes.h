/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QMetaType>
#include <QString>
#include <QVariant>

// The missing-value marker of a property dictionary: a value iPhoto reports as missing is stored
// as a QVariant holding NullMarker, distinct from an absent key and from any real value.
struct NullMarker {
    bool operator==(const NullMarker&) const = default;
};
Q_DECLARE_METATYPE(NullMarker)

inline QVariant nullMarker() {
    return QVariant::fromValue(NullMarker{});
}
inline bool isNullMarker(const QVariant& v) {
    return v.metaType() == QMetaType::fromType<NullMarker>();
}

// A failed version request: the error's name and reason.
struct BridgeError {
    QString name;
    QString reason;
};
