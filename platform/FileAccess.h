/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QString>
#include <functional>
#include <optional>

// File access checks made on the scan thread, and where a library package begins in a path.
// Paths reach the file system as the bytes QFile::encodeName gives them; "exists" follows links,
// "readable" is access(R_OK) for the real user, the way the kernel will judge an open.
namespace FileAccess {

// The access prompt: asks the user to open the path for reading and returns once answered.
using Prompt = std::function<void(const QString& path)>;

bool fileReadable(const QString& path);

// True when the path exists and is readable, if need be after the access prompt. A missing path
// answers false without a prompt. An unreadable path prompts once (for the whole library when it
// lies inside a library package), then is tested afresh. An empty prompt asks nobody.
bool fileExists(const QString& path, const Prompt& prompt);

// The path cut just after the first ".aplibrary", else the first ".photolibrary"; the
// match is case-sensitive and need not end a path component. Nothing when neither occurs.
std::optional<QString> libraryPackagePath(const QString& path);
// The length of that prefix, or -1: for callers that must not allocate per path.
qsizetype libraryPackageEnd(const QString& path);

// What the access prompt names: the library package when the path lies in one.
QString promptPath(const QString& path);

} // namespace FileAccess
