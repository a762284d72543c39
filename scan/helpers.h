/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QString>
#include <QVariant>
#include <functional>
#include <optional>

// File access checks made on the scan thread. Paths reach the file system as the bytes
// QFile::encodeName gives them; "exists" follows links, "readable" is access(R_OK) for the
// real user, the way the kernel will judge an open.
class helpers {
public:
    // The access prompt: asks the user to open the path for reading and returns once answered.
    using Prompt = std::function<void(const QString& path)>;

    static bool fileReadable(const QString& path);

    // True when the path exists and is readable, if need be after the access prompt. The null
    // marker answers false without touching the file system; a missing path answers false
    // without a prompt. An unreadable path prompts once (for the whole library when it lies
    // inside a library package), then is tested afresh. An empty prompt asks nobody.
    static bool fileExists(const QVariant& path, const Prompt& prompt);
    static bool fileExists(const QString& path, const Prompt& prompt);

    // The path cut just after the first ".aplibrary", else the first ".photolibrary"; the
    // match is case-sensitive and need not end a path component. Nothing when neither occurs.
    static std::optional<QString> libraryPackagePath(const QString& path);
    // The length of that prefix, or -1: for callers that must not allocate per path.
    static qsizetype libraryPackageEnd(const QString& path);

    // What the access prompt names: the library package when the path lies in one.
    static QString promptPath(const QString& path);
};
