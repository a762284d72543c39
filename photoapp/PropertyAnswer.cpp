/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "photoapp/PropertyAnswer.h"

#include "wire/PhotoAppWire.h"

#include <QDBusVariant>

namespace {

// The keys, made once: every answer names them all.
struct Keys {
    QString imageFilename = QString::fromLatin1(PhotoAppWire::kImageFilename);
    QString imagePath = QString::fromLatin1(PhotoAppWire::kImagePath);
    QString originalPath = QString::fromLatin1(PhotoAppWire::kOriginalPath);
    QString date = QString::fromLatin1(PhotoAppWire::kDate);
    QString id = QString::fromLatin1(PhotoAppWire::kId);
    QString height = QString::fromLatin1(PhotoAppWire::kHeight);
    QString width = QString::fromLatin1(PhotoAppWire::kWidth);
};

const Keys& keys() {
    static const Keys k;
    return k;
}

} // namespace

QStringList PropertyAnswer::missingValues() const {
    QStringList result;
    for (const QString& key : nullKeys) {
        if (!absentKeys.contains(key))
            result.append(key);
    }
    return result;
}

QDBusArgument& operator<<(QDBusArgument& arg, const PropertyAnswer& answer) {
    const Keys& k = keys();
    const Catalogue::Photo& p = answer.photo;
    arg.beginMap(QMetaType::fromType<QString>(), QMetaType::fromType<QDBusVariant>());
    const auto entry = [&](const QString& key, const QVariant& value) {
        if (answer.nullKeys.contains(key) || answer.absentKeys.contains(key))
            return;
        arg.beginMapEntry();
        arg << key << QDBusVariant(value);
        arg.endMapEntry();
    };
    entry(k.imageFilename, p.imageFilename);
    entry(k.imagePath, p.imagePath);
    entry(k.originalPath, p.originalPath);
    entry(k.date, p.dateMs);
    entry(k.id, p.id);
    entry(k.height, p.height);
    entry(k.width, p.width);
    arg.endMap();
    return arg;
}

// Answers are only ever sent; this reads nothing and exists because QtDBus asks for both ways.
const QDBusArgument& operator>>(const QDBusArgument& arg, PropertyAnswer&) {
    return arg;
}
