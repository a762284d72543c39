/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QString>

// The freedesktop Trash of the user ($XDG_DATA_HOME/Trash).
namespace Trash {

// Whether anything (even a dangling link) is at `path`.
bool itemExists(const QString& path);

// Moves the item into the Trash. Answers 0 on success, else a non-zero status (ENOTDIR when there
// is no data folder to hold the Trash, else the file error code) and the item stays where it was.
int moveToTrash(const QString& path, QString* trashedPath = nullptr);

} // namespace Trash
