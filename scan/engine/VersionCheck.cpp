/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "scan/engine/VersionCheck.h"

#include "bridge/DarktableApplication.h"
#include "bridge/iPhotoBridge.h"
#include "platform/BundleInfo.h"
#include "platform/SystemLog.h"

#include <QCoreApplication>
#include <limits>

namespace {

constexpr const char* kErrorTitle = QT_TRANSLATE_NOOP("Alert", "Error");
// The application's name as the closing summaries give it.
constexpr const char* kErrorLead = QT_TRANSLATE_NOOP(
    "VersionCheck",
    "A serious error has occurred in communicating with %1. If the problem persists please contact %2");
// The bus error's name and message, never translated.
const QString kErrorDetails = QStringLiteral("\n%1\n%2");
constexpr const char* kUnsupportedTitle = QT_TRANSLATE_NOOP("Alert", "Unsupported Version");
constexpr const char* kUnsupportedText = QT_TRANSLATE_NOOP(
    "VersionCheck", "This version of Vup is compatible with iPhoto '11 Versions 9.0 and above only.");
const QString kLogVersion = QStringLiteral("iPhoto Version %1");
// An application scripted through an interface of its own is judged by that interface's version.
constexpr const char* kUnsupportedScriptingText = QT_TRANSLATE_NOOP(
    "VersionCheck",
    "This version of Vup is compatible with %1 Lua API 9.0 and above only; %1 %2 has Lua API %3.");
const QString kLogScriptingVersion = QStringLiteral("%1 %2, Lua API %3");
constexpr const char* kNotRunning =
    QT_TRANSLATE_NOOP("VersionCheck", "%1 is not running. Start it and scan again.");

constexpr int kFirstSupportedMajor = 9;
constexpr const char* kServiceUnknown = "org.freedesktop.DBus.Error.ServiceUnknown";

QString shown(const char* text) {
    return QCoreApplication::translate("VersionCheck", text);
}

QString title(const char* text) {
    return QCoreApplication::translate("Alert", text);
}

} // namespace

QString VersionCheck::notRunningText(const QString& applicationName) {
    return shown(kNotRunning).arg(applicationName);
}

int VersionCheck::majorVersion(const QString& version) {
    const qsizetype dot = version.indexOf(QLatin1Char('.'));
    const QStringView first = dot < 0 ? QStringView(version) : QStringView(version).left(dot);
    qsizetype at = 0;
    while (at < first.size() && first[at].isSpace())
        ++at;
    bool negative = false;
    if (at < first.size() && (first[at] == QLatin1Char('+') || first[at] == QLatin1Char('-'))) {
        negative = first[at] == QLatin1Char('-');
        ++at;
    }
    // Saturates rather than wraps, so an absurdly long number cannot turn into an old version.
    qint64 value = 0;
    for (; at < first.size() && first[at] >= QLatin1Char('0') && first[at] <= QLatin1Char('9'); ++at) {
        value = value * 10 + (first[at].unicode() - '0');
        if (value > std::numeric_limits<int>::max())
            return negative ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
    }
    return int(negative ? -value : value);
}

bool VersionCheck::versionCheck(const PhotoApplication& application, const Alert& alert) {
    QString version;
    try {
        version = application.version();
    } catch (const BridgeError& error) {
        // A cancelled run or a lost application is not a conversation error; the run says which.
        if (application.lost() || error.name == QLatin1StringView(iPhotoApplication::kErrorInterrupted))
            return true;
        // A build that cannot be scripted is refused like an old version: nothing to report either.
        if (error.name == QLatin1StringView(DarktableApplication::kErrorNoLua)) {
            if (alert)
                alert(error.reason, title(kUnsupportedTitle));
            return true;
        }
        // An application that is not running is nothing to report to the support address.
        const QString message =
            error.name == QLatin1StringView(kServiceUnknown)
                ? notRunningText(application.displayName())
                : shown(kErrorLead)
                          .arg(application.nameInSummaries(),
                               BundleInfo::value(QString::fromLatin1(BundleInfo::kSupportAddress))
                                   .value_or(QString())) +
                      kErrorDetails.arg(error.name, error.reason);
        if (alert)
            alert(message, title(kErrorTitle));
        return true;
    }
    const bool scripting = application.capabilities().versionIsScriptingInterface;
    const QString name = application.displayName();
    vupLog(scripting ? kLogScriptingVersion.arg(name, application.productVersion(), version)
                     : kLogVersion.arg(version));
    if (majorVersion(version) >= kFirstSupportedMajor)
        return false;
    if (alert)
        alert(scripting ? shown(kUnsupportedScriptingText).arg(name, application.productVersion(), version)
                        : shown(kUnsupportedText),
              title(kUnsupportedTitle));
    return true;
}
