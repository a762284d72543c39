/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QString>
#include <QStringList>

// Where per-user and machine-wide application state lives: the user's is $XDG_STATE_HOME
// (default ~/.local/state), the machine's /var/lib. User's first.
namespace LibraryFolders {

QString userLibrary();
QString machineLibrary();
QStringList userThenMachine();

// Tests point the machine-wide folder at a temporary one; an empty path restores /var/lib.
void setMachineLibraryForTesting(const QString& path);

} // namespace LibraryFolders
