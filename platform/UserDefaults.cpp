/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "platform/UserDefaults.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace {

QString storePath() {
    QString base = QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME"));
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/vup/Vup.conf");
}

} // namespace

UserDefaults& UserDefaults::standard() {
    static UserDefaults defaults;
    return defaults;
}

UserDefaults::UserDefaults() {
    reload();
}
UserDefaults::~UserDefaults() = default;

void UserDefaults::reload() {
    QMutexLocker lock(&mutex);
    if (settings)
        settings->sync();
    settings = std::make_unique<QSettings>(storePath(), QSettings::IniFormat);
}

QString UserDefaults::filePath() const {
    QMutexLocker lock(&mutex);
    return settings->fileName();
}

std::optional<QVariant> UserDefaults::objectForKey(const QString& key) const {
    QMutexLocker lock(&mutex);
    if (settings->contains(key))
        return settings->value(key);
    const auto it = fallbacks.constFind(key);
    if (it != fallbacks.constEnd())
        return *it;
    return std::nullopt;
}

bool UserDefaults::hasStoredValue(const QString& key) const {
    QMutexLocker lock(&mutex);
    return settings->contains(key);
}

QStringList UserDefaults::storedKeys() const {
    QMutexLocker lock(&mutex);
    return settings->allKeys();
}

bool UserDefaults::boolForKey(const QString& key) const {
    const auto value = objectForKey(key);
    return value && boolValueOfVariant(*value);
}

std::optional<QString> UserDefaults::stringForKey(const QString& key) const {
    const auto value = objectForKey(key);
    if (!value || !value->canConvert<QString>())
        return std::nullopt;
    return value->toString();
}

std::optional<QDateTime> UserDefaults::dateForKey(const QString& key) const {
    const auto value = objectForKey(key);
    if (!value)
        return std::nullopt;
    return dateFromVariant(*value);
}

void UserDefaults::setObject(const QString& key, const QVariant& value) {
    QMutexLocker lock(&mutex);
    if (value.metaType().id() == QMetaType::QDateTime)
        settings->setValue(key, dateToText(value.toDateTime()));
    else
        settings->setValue(key, value);
    settings->sync();
}

void UserDefaults::setBool(const QString& key, bool value) {
    setObject(key, value ? QStringLiteral("YES") : QStringLiteral("NO"));
}

void UserDefaults::setString(const QString& key, const QString& value) {
    setObject(key, value);
}

void UserDefaults::setDate(const QString& key, const QDateTime& value) {
    setObject(key, dateToText(value));
}

void UserDefaults::removeObject(const QString& key) {
    QMutexLocker lock(&mutex);
    settings->remove(key);
    settings->sync();
}

void UserDefaults::registerDefaults(const QVariantMap& values) {
    QMutexLocker lock(&mutex);
    for (auto it = values.constBegin(); it != values.constEnd(); ++it)
        fallbacks.insert(it.key(), it.value());
}

void UserDefaults::synchronize() {
    QMutexLocker lock(&mutex);
    settings->sync();
}

bool UserDefaults::boolValueOfString(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    if (i < text.size() && (text.at(i) == u'+' || text.at(i) == u'-'))
        ++i;
    while (i < text.size() && text.at(i) == u'0')
        ++i;
    if (i >= text.size())
        return false;
    const QChar c = text.at(i);
    return c == u'Y' || c == u'y' || c == u'T' || c == u't' || (c >= u'1' && c <= u'9');
}

bool UserDefaults::boolValueOfVariant(const QVariant& value) {
    switch (value.metaType().id()) {
    case QMetaType::Bool:
        return value.toBool();
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return value.toLongLong() != 0;
    case QMetaType::Double:
        return value.toDouble() != 0.0;
    default:
        return boolValueOfString(value.toString());
    }
}

QString UserDefaults::dateToText(const QDateTime& value) {
    return value.toUTC().toString(Qt::ISODateWithMs);
}

std::optional<QDateTime> UserDefaults::dateFromVariant(const QVariant& value) {
    if (value.metaType().id() == QMetaType::QDateTime) {
        const QDateTime d = value.toDateTime();
        return d.isValid() ? std::optional(d) : std::nullopt;
    }
    const QDateTime d = QDateTime::fromString(value.toString(), Qt::ISODateWithMs);
    if (!d.isValid())
        return std::nullopt;
    return d;
}
