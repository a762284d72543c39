/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "platform/IdleSleepAssertion.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace {

constexpr const char* kService = "org.freedesktop.ScreenSaver";
constexpr const char* kPath = "/org/freedesktop/ScreenSaver";
constexpr const char* kInterface = "org.freedesktop.ScreenSaver";
constexpr const char* kApplicationName = "Vup";
// A blocking call must not hold its caller for long when the service hangs.
constexpr int kBlockingTimeoutMs = 2000;
// Nobody waits for an asynchronous answer: a slow service is still heard, so its grant can be
// given back.
constexpr int kAsyncTimeoutMs = 120000;

QDBusMessage methodCall(const char* method, const QList<QVariant>& args) {
    QDBusMessage msg =
        QDBusMessage::createMethodCall(QString::fromLatin1(kService), QString::fromLatin1(kPath),
                                       QString::fromLatin1(kInterface), QString::fromLatin1(method));
    msg.setArguments(args);
    return msg;
}

QDBusMessage inhibitCall(const QString& name) {
    return methodCall("Inhibit", {QString::fromLatin1(kApplicationName), name});
}

QDBusMessage unInhibitCall(quint32 cookie) {
    return methodCall("UnInhibit", {QVariant::fromValue(cookie)});
}

QDBusMessage callService(const QDBusMessage& msg) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return QDBusMessage::createError(QStringLiteral("org.freedesktop.DBus.Error.Disconnected"),
                                         QString());
    return bus.call(msg, QDBus::Block, kBlockingTimeoutMs);
}

// Sends without waiting for the answer: giving back cannot fail in a way anyone could mend.
void sendUnInhibit(quint32 cookie) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected())
        bus.send(unInhibitCall(cookie));
}

std::optional<quint32> cookieOf(const QDBusPendingCall& call) {
    const QDBusPendingReply<uint> reply = call;
    if (reply.isError() || !reply.isValid())
        return std::nullopt;
    return reply.value();
}

} // namespace

namespace IdleSleepAssertion {

int create(const QString& name, quint32& assertionID) {
    const QDBusMessage reply = callService(inhibitCall(name));
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
    callService(unInhibitCall(assertionID));
}

Holder::Holder(QString assertionName, QObject* parent) : QObject(parent), name(std::move(assertionName)) {}

Holder::~Holder() {
    releaseNow();
}

void Holder::create() {
    wanted = true;
    if (cookie || pending)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    pending = new QDBusPendingCallWatcher(bus.asyncCall(inhibitCall(name), kAsyncTimeoutMs), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this, &Holder::answered);
}

void Holder::answered(QDBusPendingCallWatcher* call) {
    call->deleteLater();
    if (call != pending)
        return;
    pending = nullptr;
    const std::optional<quint32> granted = cookieOf(*call);
    if (!granted)
        return;
    if (wanted)
        setCookie(granted);
    else
        sendUnInhibit(*granted);
}

void Holder::release() {
    wanted = false;
    if (cookie) {
        sendUnInhibit(*cookie);
        setCookie(std::nullopt);
    }
}

void Holder::releaseNow() {
    wanted = false;
    if (cookie) {
        callService(unInhibitCall(*cookie));
        setCookie(std::nullopt);
    }
    if (!pending)
        return;
    // Outlives this holder, so that a grant answered later is still given back.
    QDBusPendingCallWatcher* orphan = pending;
    pending = nullptr;
    disconnect(orphan, nullptr, this, nullptr);
    orphan->setParent(QCoreApplication::instance());
    connect(orphan, &QDBusPendingCallWatcher::finished, orphan, [orphan] {
        if (const std::optional<quint32> granted = cookieOf(*orphan))
            sendUnInhibit(*granted);
        orphan->deleteLater();
    });
}

void Holder::setCookie(std::optional<quint32> value) {
    const bool wasHeld = cookie.has_value();
    cookie = value;
    if (wasHeld != cookie.has_value())
        emit heldChanged(cookie.has_value());
}

} // namespace IdleSleepAssertion
