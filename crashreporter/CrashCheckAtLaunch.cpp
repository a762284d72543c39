/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "crashreporter/CrashCheckAtLaunch.h"

#include "crashreporter/ZXNCrashReporter.h"
#include "crashreporter/ZXNCrashReporterWindowController.h"
#include "crashreporter/ZXNException.h"
#include "platform/SystemLog.h"

#include <QWidget>

namespace {
constexpr const char* kCheckFailedFormat = "ZXNCrashReporter: %1: %2";
}

ZXNCrashReporterWindowController* checkForNewCrashesAtLaunch(QWidget* parentOrNull) {
    ZXNCrashReporterWindowController* window = nullptr;
    try {
        ZXNCrashReporter::checkForNewCrashes(
            [parentOrNull, &window](const OfferedCrashLog& log, const QUrl& url) {
                window = ZXNCrashReporterWindowController::showWindowForCrashLogPath(log, url, parentOrNull);
            });
    } catch (const ZXNException& e) {
        // A configuration mistake must not stop the application from starting, every time.
        vupLog(QString::fromLatin1(kCheckFailedFormat).arg(e.name(), e.reason()));
    }
    return window;
}
