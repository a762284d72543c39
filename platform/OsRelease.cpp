/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "platform/OsRelease.h"

#include <QDir>
#include <QFile>

namespace {

QString unquoted(const QString& raw) {
    const QString text = raw.trimmed();
    if (text.size() < 2 || (text.front() != u'"' && text.front() != u'\'') || text.back() != text.front())
        return text;
    const QChar quote = text.front();
    QString result;
    for (qsizetype i = 1; i + 1 < text.size(); ++i) {
        if (quote == u'"' && text.at(i) == u'\\' && i + 2 < text.size())
            ++i;
        result.append(text.at(i));
    }
    return result;
}

} // namespace

namespace OsRelease {

std::optional<QString> value(const QString& key, const QString& root) {
    const QDir base(root);
    QFile file(base.filePath(QStringLiteral("etc/os-release")));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        file.setFileName(base.filePath(QStringLiteral("usr/lib/os-release")));
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            return std::nullopt;
    }
    const QString prefix = key + u'=';
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(prefix))
            return unquoted(line.mid(prefix.size()));
    }
    return std::nullopt;
}

} // namespace OsRelease
