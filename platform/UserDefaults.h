/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QDateTime>
#include <QMutex>
#include <QString>
#include <QVariant>
#include <QVariantMap>
#include <memory>
#include <optional>

class QSettings;

// The user's defaults: values the user (or the program) stored, with registered fallbacks
// behind them. Stored in $XDG_CONFIG_HOME/vup/Vup.conf, shared with `vup defaults`.
// Safe to use from any thread.
class UserDefaults {
public:
    static UserDefaults& standard();

    // The stored value, else the registered fallback, else nothing.
    std::optional<QVariant> objectForKey(const QString& key) const;
    // True only when stored in this user's file (a fallback does not count).
    bool hasStoredValue(const QString& key) const;
    QStringList storedKeys() const;

    bool boolForKey(const QString& key) const;
    std::optional<QString> stringForKey(const QString& key) const;
    std::optional<QDateTime> dateForKey(const QString& key) const;

    void setObject(const QString& key, const QVariant& value);
    void setBool(const QString& key, bool value);
    void setString(const QString& key, const QString& value);
    // Dates keep their milliseconds: stored as ISO 8601 text in UTC.
    void setDate(const QString& key, const QDateTime& value);
    void removeObject(const QString& key);

    void registerDefaults(const QVariantMap& fallbacks);

    // Writes pending changes to disk.
    void synchronize();
    // Re-opens the store (tests change $XDG_CONFIG_HOME between cases).
    void reload();
    QString filePath() const;

    // Boolean value of a text the way the platform reads it: leading blanks skipped, an
    // optional sign, then "Y", "y", "T", "t" or a non-zero digit mean true. "NO" is false.
    static bool boolValueOfString(const QString& text);
    static bool boolValueOfVariant(const QVariant& value);
    static QString dateToText(const QDateTime& value);
    static std::optional<QDateTime> dateFromVariant(const QVariant& value);

    ~UserDefaults();

private:
    UserDefaults();
    mutable QMutex mutex;
    std::unique_ptr<QSettings> settings;
    QVariantMap fallbacks;
};
