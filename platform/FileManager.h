/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QString>

// The file-system questions the scan asks for every photo, answered with one system call each.
// Paths are encoded with QFile::encodeName, so any name the application reports round-trips.
namespace FileManager {

// True when an item exists at the path, following a final symbolic link. "" names nothing.
bool fileExistsAtPath(const QString& path);

// What the system answers about a path, following a final symbolic link. Only "no such entry"
// (or a path component that is not a folder) means the item is gone; any other refusal (a folder
// without search permission, an I/O error, a loop of links) leaves it unknown. "" names nothing,
// so it is absent. `error` receives the errno of an unknown answer.
enum class Presence { Exists, Absent, Unknown };
Presence presenceAtPath(const QString& path, int* error = nullptr);

// Size in bytes of the item at the path, a symbolic link's own size rather than its target's;
// nothing (0) when the item does not exist or its attributes cannot be read.
qint64 itemSize(const QString& path);

// itemSize() of an item that fileExistsAtPath(), else 0; one system call unless it is a link.
qint64 sizeOfExistingItem(const QString& path);

} // namespace FileManager
