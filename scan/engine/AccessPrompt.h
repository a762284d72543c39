/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QCoreApplication>
#include <QString>

// The access prompt's texts, shared by the window and the terminal: both ask the user to point at
// a file or folder the scan must read, and both log every refusal the same way.
namespace AccessPrompt {

// Translated in the context "AccessPrompt" where it is shown.
inline constexpr const char* kTitle = QT_TRANSLATE_NOOP("AccessPrompt", "Read Access Required");

// The message names only the last path component of `path`.
QString message(const QString& path);
// The folder the prompt opens in: `path` without its last component.
QString initialFolder(const QString& path);
// One log line per refusal, with the panel's result (0 for Cancel).
void logRefusal(long result);

// The path, its owner and mode, and whom this process runs as; or why the path cannot be looked at.
QString ownerAndMode(const QString& path);
// What a user of this system can do about an unreadable path: ownerAndMode, then how to grant
// access (choosing the path in a panel grants nothing here).
QString explanation(const QString& path);

} // namespace AccessPrompt
