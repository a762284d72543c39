/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "photoapp/LibraryPackage.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace {
constexpr auto kMastersFolder = "Masters";
constexpr auto kModifiedFolder = "Modified";
constexpr auto kDatabaseFolder = "Database";
constexpr auto kCatalogueFileName = "Library.sqlite";
} // namespace

LibraryPackage::LibraryPackage(const QString& path)
    // Not canonical on purpose: the scan compares the master paths reported here with the paths it
    // finds by walking the package, so both must spell the package the way the user named it.
    : rootPath(QDir::cleanPath(QFileInfo(path).absoluteFilePath())) {}

QString LibraryPackage::mastersDir() const {
    return rootPath + QLatin1Char('/') + QLatin1StringView(kMastersFolder);
}
QString LibraryPackage::modifiedDir() const {
    return rootPath + QLatin1Char('/') + QLatin1StringView(kModifiedFolder);
}
QString LibraryPackage::databaseDir() const {
    return rootPath + QLatin1Char('/') + QLatin1StringView(kDatabaseFolder);
}
QString LibraryPackage::catalogueFile() const {
    return databaseDir() + QLatin1Char('/') + QLatin1StringView(kCatalogueFileName);
}

bool LibraryPackage::createFolders(QString* error) const {
    if (QFileInfo::exists(rootPath)) {
        *error = QCoreApplication::translate("LibraryPackage", "%1 already exists").arg(rootPath);
        return false;
    }
    QDir dir;
    for (const QString& folder : {mastersDir(), modifiedDir(), databaseDir()}) {
        if (!dir.mkpath(folder)) {
            *error = QCoreApplication::translate("LibraryPackage", "cannot create the folder %1").arg(folder);
            return false;
        }
    }
    return true;
}

QString LibraryPackage::toStored(const QString& absolutePath) const {
    const QString prefix = rootPath + QLatin1Char('/');
    if (absolutePath.startsWith(prefix))
        return absolutePath.mid(prefix.size());
    return absolutePath;
}

QString LibraryPackage::toAbsolute(const QString& stored) const {
    if (stored.startsWith(QLatin1Char('/')))
        return stored;
    return rootPath + QLatin1Char('/') + stored;
}

QString LibraryPackage::importRollDir(const QString& base, qint64 msecsSinceEpoch) const {
    const QDateTime when = QDateTime::fromMSecsSinceEpoch(msecsSinceEpoch);
    return base + QLatin1Char('/') + when.toString(QStringLiteral("yyyy/MM/dd/yyyyMMdd-HHmmss"));
}
