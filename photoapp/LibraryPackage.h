/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QString>

// Where things live inside a `NAME.photolibrary` package folder. Every path the application
// reports is absolute; the catalogue stores paths inside the package relative to it, so a library
// that is moved as a whole keeps working.
class LibraryPackage {
public:
    explicit LibraryPackage(const QString& path);

    QString root() const { return rootPath; }
    QString mastersDir() const;
    QString modifiedDir() const;
    QString databaseDir() const;
    QString catalogueFile() const;

    // Makes the package's folders; false (with a reason) when the package already exists or a
    // folder cannot be made.
    bool createFolders(QString* error) const;

    // Catalogue spelling of an absolute path and back.
    QString toStored(const QString& absolutePath) const;
    QString toAbsolute(const QString& stored) const;

    // A folder for one import, named by the import time: Masters/yyyy/MM/dd/yyyyMMdd-HHmmss.
    QString importRollDir(const QString& base, qint64 msecsSinceEpoch) const;

private:
    QString rootPath;
};
