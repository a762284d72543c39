/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QString>
#include <optional>

// One entry of the system's os-release file (etc/os-release, else usr/lib/os-release, below
// `root`), read afresh at each call. Quotes and backslash escapes are removed as the file's
// shell-like syntax requires.
namespace OsRelease {

inline constexpr const char* kVersionId = "VERSION_ID";
inline constexpr const char* kBuildId = "BUILD_ID";
inline constexpr const char* kPrettyName = "PRETTY_NAME";

std::optional<QString> value(const QString& key, const QString& root = QStringLiteral("/"));

} // namespace OsRelease
