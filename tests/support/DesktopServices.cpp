/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "tests/support/DesktopServices.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QMetaObject>
#include <atomic>

struct DesktopServices::State {
    mutable QMutex mutex;
    QList<Notification> notifications;
    QList<FileManagerRequest> fileManagerRequests;
    QList<uint> inhibited;
    QList<uint> released;
    uint nextCookie = 41;
    std::atomic<int> inhibitDelayMs{0};
    uint nextNotification = 1;
};

namespace {

class ScreenSaverService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")
public:
    explicit ScreenSaverService(std::shared_ptr<DesktopServices::State> s) : state(std::move(s)) {}
public slots:
    uint Inhibit(const QString& applicationName, const QString& reason) {
        Q_UNUSED(applicationName);
        Q_UNUSED(reason);
        QThread::msleep(static_cast<unsigned long>(state->inhibitDelayMs.load()));
        QMutexLocker lock(&state->mutex);
        const uint cookie = ++state->nextCookie;
        state->inhibited.append(cookie);
        return cookie;
    }
    void UnInhibit(uint cookie) {
        QMutexLocker lock(&state->mutex);
        state->released.append(cookie);
    }

private:
    std::shared_ptr<DesktopServices::State> state;
};

class NotificationService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    explicit NotificationService(std::shared_ptr<DesktopServices::State> s) : state(std::move(s)) {}
public slots:
    uint Notify(const QString& /*appName*/, uint replacesId, const QString& icon, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap& hints, int timeout) {
        Q_UNUSED(replacesId);
        Q_UNUSED(actions);
        Q_UNUSED(timeout);
        QMutexLocker lock(&state->mutex);
        state->notifications.append({icon, summary, body, hints});
        return state->nextNotification++;
    }

private:
    std::shared_ptr<DesktopServices::State> state;
};

class FileManagerService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")
public:
    explicit FileManagerService(std::shared_ptr<DesktopServices::State> s) : state(std::move(s)) {}
public slots:
    // The startup id only helps the desktop raise the right window.
    void ShowItems(const QStringList& uris, const QString& /*startupId*/) { record("ShowItems", uris); }
    void ShowFolders(const QStringList& uris, const QString& /*startupId*/) { record("ShowFolders", uris); }

private:
    void record(const char* method, const QStringList& uris) {
        QMutexLocker lock(&state->mutex);
        state->fileManagerRequests.append({QString::fromLatin1(method), uris});
    }
    std::shared_ptr<DesktopServices::State> state;
};

// Registers `service` at `path` under `name` on the bus, served from `thread`.
bool serve(QDBusConnection& bus, QObject* service, QThread* thread, const char* path, const char* name) {
    service->moveToThread(thread);
    return bus.registerObject(QString::fromLatin1(path), service, QDBusConnection::ExportAllSlots) &&
           bus.registerService(QString::fromLatin1(name));
}

} // namespace

DesktopServices::DesktopServices() : state(std::make_shared<State>()) {}

DesktopServices::~DesktopServices() {
    stop();
}

bool DesktopServices::start(bool screenSaver, bool notificationsWanted, bool fileManager) {
    stop();
    static int serial = 0;
    connectionName = QStringLiteral("vup-test-desktop-services-%1").arg(++serial);
    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, connectionName);
    if (!bus.isConnected())
        return false;
    thread = std::make_unique<QThread>();
    thread->start();
    bool good = true;
    if (screenSaver) {
        services.append(new ScreenSaverService(state));
        good = serve(bus, services.last(), thread.get(), "/org/freedesktop/ScreenSaver",
                     "org.freedesktop.ScreenSaver");
    }
    if (notificationsWanted) {
        services.append(new NotificationService(state));
        good = serve(bus, services.last(), thread.get(), "/org/freedesktop/Notifications",
                     "org.freedesktop.Notifications") &&
               good;
    }
    if (fileManager) {
        services.append(new FileManagerService(state));
        good = serve(bus, services.last(), thread.get(), "/org/freedesktop/FileManager1",
                     "org.freedesktop.FileManager1") &&
               good;
    }
    return good;
}

void DesktopServices::stop() {
    if (!thread)
        return;
    {
        QDBusConnection bus(connectionName);
        bus.unregisterService(QStringLiteral("org.freedesktop.ScreenSaver"));
        bus.unregisterService(QStringLiteral("org.freedesktop.Notifications"));
        bus.unregisterService(QStringLiteral("org.freedesktop.FileManager1"));
        bus.unregisterObject(QStringLiteral("/org/freedesktop/ScreenSaver"));
        bus.unregisterObject(QStringLiteral("/org/freedesktop/Notifications"));
        bus.unregisterObject(QStringLiteral("/org/freedesktop/FileManager1"));
    }
    QDBusConnection::disconnectFromBus(connectionName);
    for (QObject* s : std::as_const(services))
        QMetaObject::invokeMethod(
            s, [s] { delete s; }, Qt::BlockingQueuedConnection);
    services.clear();
    thread->quit();
    thread->wait();
    thread.reset();
}

QList<DesktopServices::Notification> DesktopServices::notifications() const {
    QMutexLocker lock(&state->mutex);
    return state->notifications;
}

QList<DesktopServices::FileManagerRequest> DesktopServices::fileManagerRequests() const {
    QMutexLocker lock(&state->mutex);
    return state->fileManagerRequests;
}

QList<uint> DesktopServices::inhibited() const {
    QMutexLocker lock(&state->mutex);
    return state->inhibited;
}

void DesktopServices::setInhibitDelay(int milliseconds) {
    state->inhibitDelayMs = milliseconds;
}

QList<uint> DesktopServices::held() const {
    QMutexLocker lock(&state->mutex);
    QList<uint> result = state->inhibited;
    for (uint c : state->released)
        result.removeOne(c);
    return result;
}

#include "DesktopServices.moc"
