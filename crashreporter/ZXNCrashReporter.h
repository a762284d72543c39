/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "crashreporter/OfferedCrashLog.h"
#include "platform/BundleInfo.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <optional>

// Finds crash logs of this application written since the last check and hands the oldest new one
// to whoever presents it. Remembers nothing itself: the last report date lives in the user
// defaults.
class ZXNCrashReporter {
public:
    // The same key in the user defaults and in the bundle information.
    static constexpr const char* kCrashSubmissionURLKey = BundleInfo::kSubmissionURL;
    static constexpr const char* kLastCrashReportDateKey = "ZXNCrashReporterLastCrashReportDate";
    static constexpr const char* kMissingURLExceptionName = "Missing ZXNCrashReporterCrashSubmissionURL";
    static constexpr const char* kMissingURLExceptionReason =
        "You must specify the URL for crash log submission as the ZXNCrashReporterCrashSubmissionURL in "
        "either Info.plist or the user defaults!";
    static constexpr const char* kCrashLogFolder = "Logs/DiagnosticReports";

    struct NewCrashLog {
        OfferedCrashLog log;
        // Empty when the configured address is no http or https URL.
        QUrl submissionURL;
    };
    using Presenter = std::function<void(const OfferedCrashLog& crashLog, const QUrl& submissionURL)>;

    ZXNCrashReporter() = delete;

    // Presents at most one new crash log. Raises ZXNException when no submission address is
    // configured (and then stores nothing).
    static void checkForNewCrashes(const Presenter& present);
    // The same search without presenting: the oldest new log (modification date, then path).
    static std::optional<NewCrashLog> findNewCrashLog();

    // The user's crash log folder if it exists, else the machine's if that exists.
    static QStringList crashLogDirectories();
    // Regular files below those folders whose relative path begins with the application's name,
    // owned by the user, in folders only the user may write.
    static QStringList crashLogPaths();

    // The name crash logs of this application begin with: the bundle name, else the application
    // name; empty when there is neither (and then no log is ours).
    static QString applicationNameForMatching();
    // An absolute http or https URL with a host, else empty: a report goes to a web server or
    // nowhere, never into a local file or another protocol.
    static QUrl submissionURLFromText(const QString& text);
    // The address as it may be shown: without the user name and password it may carry.
    static QString displayedAddress(const QUrl& url);
};
