/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "platform/FileAccess.h"

#include "platform/FileManager.h"

#include <QFile>
#include <unistd.h>

namespace {

constexpr QLatin1StringView kApLibraryExtension(".aplibrary");
constexpr QLatin1StringView kPhotoLibraryExtension(".photolibrary");

} // namespace

namespace FileAccess {

bool fileReadable(const QString& path) {
    return !path.isEmpty() && ::access(QFile::encodeName(path).constData(), R_OK) == 0;
}

bool fileExists(const QString& path, const Prompt& prompt) {
    const bool exists = FileManager::fileExistsAtPath(path);
    if (exists && fileReadable(path))
        return true;
    if (!exists)
        return false;
    if (prompt)
        prompt(promptPath(path));
    return fileReadable(path);
}

qsizetype libraryPackageEnd(const QString& path) {
    qsizetype at = path.indexOf(kApLibraryExtension);
    if (at >= 0)
        return at + kApLibraryExtension.size();
    at = path.indexOf(kPhotoLibraryExtension);
    return at >= 0 ? at + kPhotoLibraryExtension.size() : -1;
}

std::optional<QString> libraryPackagePath(const QString& path) {
    const qsizetype end = libraryPackageEnd(path);
    return end < 0 ? std::nullopt : std::optional<QString>(path.left(end));
}

QString promptPath(const QString& path) {
    return libraryPackagePath(path).value_or(path);
}

} // namespace FileAccess
