/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "platform/UserNotification.h"

#include "platform/BundleInfo.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>

namespace {

constexpr const char* kService = "org.freedesktop.Notifications";
constexpr const char* kPath = "/org/freedesktop/Notifications";
constexpr const char* kInterface = "org.freedesktop.Notifications";
constexpr const char* kApplicationName = "Vup";
// The freedesktop sound theme's name for a finished job: the desktop's default "done" sound.
constexpr const char* kSoundHint = "sound-name";
constexpr const char* kDefaultSoundName = "complete";
// Ties the notification to the installed desktop entry, named like the bundle identifier.
constexpr const char* kDesktopEntryHint = "desktop-entry";
constexpr int kTimeoutMs = 2000;

} // namespace

namespace UserNotification {

bool deliver(const QString& title, const QString& informativeText) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage msg =
        QDBusMessage::createMethodCall(QString::fromLatin1(kService), QString::fromLatin1(kPath),
                                       QString::fromLatin1(kInterface), QStringLiteral("Notify"));
    QVariantMap hints{{QString::fromLatin1(kSoundHint), QString::fromLatin1(kDefaultSoundName)}};
    // The icon is the installed one of the same name.
    const QString identifier =
        BundleInfo::value(QString::fromLatin1(BundleInfo::kBundleIdentifier)).value_or(QString());
    if (!identifier.isEmpty())
        hints.insert(QString::fromLatin1(kDesktopEntryHint), identifier);
    msg.setArguments({QString::fromLatin1(kApplicationName), QVariant::fromValue(uint(0)), identifier, title,
                      informativeText, QStringList(), hints, QVariant::fromValue(int(-1))});
    const QDBusMessage reply = bus.call(msg, QDBus::Block, kTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage;
}

} // namespace UserNotification
