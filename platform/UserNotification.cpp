/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "platform/UserNotification.h"

#include "platform/BundleInfo.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QMutex>
#include <QObject>
#include <QSet>
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
// The action a click on the notification's body invokes, and its label where servers show one.
constexpr const char* kDefaultAction = "default";
constexpr const char* kDefaultActionLabel = QT_TRANSLATE_NOOP("UserNotification", "Show Vup");

// The notifications this process delivered: a click on another program's is not ours to answer.
QMutex deliveredMutex;
QSet<uint> delivered;

bool isOurs(uint id) {
    QMutexLocker lock(&deliveredMutex);
    return delivered.contains(id);
}

// Receives the service's ActionInvoked signal; QtDBus delivers signals to slots only.
class ActionListener final : public QObject {
    Q_OBJECT
public:
    ActionListener(QObject* context, std::function<void()> a) : QObject(context), activated(std::move(a)) {}

public slots:
    void actionInvoked(uint id, const QString& action) {
        if (action == QLatin1StringView(kDefaultAction) && isOurs(id))
            activated();
    }

private:
    std::function<void()> activated;
};

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
    const QStringList actions{QString::fromLatin1(kDefaultAction),
                              QCoreApplication::translate("UserNotification", kDefaultActionLabel)};
    msg.setArguments({QString::fromLatin1(kApplicationName), QVariant::fromValue(uint(0)), identifier, title,
                      informativeText, actions, hints, QVariant::fromValue(int(-1))});
    const QDBusMessage reply = bus.call(msg, QDBus::Block, kTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage)
        return false;
    if (!reply.arguments().isEmpty()) {
        QMutexLocker lock(&deliveredMutex);
        delivered.insert(reply.arguments().constFirst().toUInt());
    }
    return true;
}

void whenActivated(QObject* context, std::function<void()> activated) {
    auto* listener = new ActionListener(context, std::move(activated));
    QDBusConnection::sessionBus().connect(QString(), QString::fromLatin1(kPath),
                                          QString::fromLatin1(kInterface), QStringLiteral("ActionInvoked"),
                                          listener, SLOT(actionInvoked(uint, QString)));
}

} // namespace UserNotification

#include "UserNotification.moc"
