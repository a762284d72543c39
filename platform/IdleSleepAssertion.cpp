#include "platform/IdleSleepAssertion.h"

#include <QDBusConnection>
#include <QDBusMessage>

namespace {

constexpr const char* kService = "org.freedesktop.ScreenSaver";
constexpr const char* kPath = "/org/freedesktop/ScreenSaver";
constexpr const char* kInterface = "org.freedesktop.ScreenSaver";
constexpr const char* kApplicationName = "Vup";
// The window thread makes these calls: a hung service must not freeze it for long.
constexpr int kTimeoutMs = 2000;

QDBusMessage callService(const char* method, const QList<QVariant>& args) {
    QDBusMessage msg =
        QDBusMessage::createMethodCall(QString::fromLatin1(kService), QString::fromLatin1(kPath),
                                       QString::fromLatin1(kInterface), QString::fromLatin1(method));
    msg.setArguments(args);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return QDBusMessage::createError(QStringLiteral("org.freedesktop.DBus.Error.Disconnected"),
                                         QString());
    return bus.call(msg, QDBus::Block, kTimeoutMs);
}

} // namespace

namespace IdleSleepAssertion {

int create(const QString& name, quint32& assertionID) {
    const QDBusMessage reply = callService("Inhibit", {QString::fromLatin1(kApplicationName), name});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return kNotCreated;
    bool good = false;
    const uint cookie = reply.arguments().constFirst().toUInt(&good);
    if (!good)
        return kNotCreated;
    assertionID = cookie;
    return kCreated;
}

void release(quint32 assertionID) {
    callService("UnInhibit", {QVariant::fromValue(assertionID)});
}

} // namespace IdleSleepAssertion
