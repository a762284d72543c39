/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QIcon>

// What lets a desktop tie the window to the installed desktop entry: the application id, which is
// the bundle identifier and names the entry, and the window icon drawn for the project.
namespace DesktopIdentity {

void apply();
// The icon at every size it was rendered in, compiled into the program.
QIcon icon();

} // namespace DesktopIdentity
