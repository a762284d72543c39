/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QString>
#include <optional>

// The application's information file: fixed facts about this build (name, identifier,
// versions, addresses). An absent key answers nothing.
namespace BundleInfo {

inline constexpr const char* kBundleName = "CFBundleName";
inline constexpr const char* kValidatedTitle = "ValidatedTitle";
inline constexpr const char* kBundleIdentifier = "CFBundleIdentifier";
inline constexpr const char* kShortVersion = "CFBundleShortVersionString";
inline constexpr const char* kBundleVersion = "CFBundleVersion";
inline constexpr const char* kSubmissionURL = "ZXNCrashReporterCrashSubmissionURL";
inline constexpr const char* kReportingLocale = "ZXNCrashReporterPreferredReportingLocale";
inline constexpr const char* kProductPage = "VupProductPage";
inline constexpr const char* kSupportAddress = "VupSupportAddress";

std::optional<QString> value(const QString& key);

// Tests replace or remove keys; an empty optional removes the key.
void overrideValue(const QString& key, std::optional<QString> value);
void resetOverrides();

// Folder holding installed resources (the keyword image); the build tree's when run from there.
QString resourceDirectory();

} // namespace BundleInfo
