/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "photoapp/ServeCommand.h"

#include "photoapp/LibraryLock.h"
#include "photoapp/Log.h"
#include "photoapp/PhotoAppService.h"
#include "photoapp/ShutdownSignals.h"
#include "wire/PhotoAppWire.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QThread>
#include <QTimer>

namespace {
// QtDBus tells a server nothing when its bus daemon dies; look now and then.
constexpr int kBusCheckIntervalMs = 500;
} // namespace

namespace ServeCommand {

int run(std::unique_ptr<Catalogue> catalogue, const QString& version, const WindowFactory& window) {
    LibraryLock lock(catalogue->library());
    QString error;
    if (!lock.acquire(&error)) {
        PhotoAppLog::line(error);
        return 1;
    }
    ShutdownSignals shutdownSignals;
    if (!shutdownSignals.isValid()) {
        PhotoAppLog::line(QStringLiteral("cannot watch for SIGTERM and SIGINT"));
        return 1;
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        PhotoAppLog::line(QStringLiteral("no session bus: %1").arg(bus.lastError().message()));
        return 1;
    }
    // An import killed between naming a copy and recording it left a file no photo names.
    for (const QString& removed : catalogue->removeUnclaimedFiles())
        PhotoAppLog::line(QStringLiteral("removed %1: an import was stopped before it recorded it")
                              .arg(PhotoAppLog::shortened(removed)));
    if (!window && !catalogue->removeChangeLog())
        PhotoAppLog::line(
            QStringLiteral("cannot remove a window's change log: %1").arg(catalogue->lastError()));
    const LibraryPackage library = catalogue->library();
    const QString root = library.root();
    PhotoAppService service(std::move(catalogue), version);
    if (!service.registerOn(bus, &error)) {
        PhotoAppLog::line(error);
        return 1;
    }
    PhotoAppLog::line(QStringLiteral("serving %1").arg(root));
    std::unique_ptr<QObject> shown;
    if (window) {
        shown = window(
            library, [&service] { return service.importing(); }, &error);
        if (!shown) {
            PhotoAppLog::line(error);
            bus.unregisterService(QString::fromLatin1(PhotoAppWire::kService));
            return 1;
        }
    }

    // The service stops only once the loop has ended: a request still handled in the loop's
    // last pass would otherwise hand an import to a worker that is already gone.
    QObject::connect(&shutdownSignals, &ShutdownSignals::requested, [](int number) {
        PhotoAppLog::line(QStringLiteral("stopping on signal %1").arg(number));
        QCoreApplication::exit(0);
    });
    QTimer busCheck;
    QObject::connect(&busCheck, &QTimer::timeout, [] {
        if (QDBusConnection::sessionBus().isConnected())
            return;
        PhotoAppLog::line(QStringLiteral("the session bus went away; stopping"));
        QCoreApplication::exit(1);
    });
    busCheck.start(kBusCheckIntervalMs);

    // Requests are answered on the thread where QtDBus reads them: handing each one to the main
    // thread and its answer back cost a property request more than a third of photoapp's time, and
    // a scan sends hundreds of thousands. The service and its catalogue are used by one thread at
    // a time: that one while serving, this one before and after.
    QThread* const busThread = bus.interface() ? bus.interface()->thread() : nullptr;
    if (busThread)
        service.moveToThread(busThread);
    const int status = QCoreApplication::exec();
    shown.reset();
    bus.unregisterService(QString::fromLatin1(PhotoAppWire::kService));
    service.unregisterFrom(bus);
    // Once the bus thread has run this, it answers no request any more: the service comes back.
    if (busThread) {
        QThread* const self = QThread::currentThread();
        QMetaObject::invokeMethod(
            &service, [&service, self] { service.moveToThread(self); }, Qt::BlockingQueuedConnection);
    }
    service.shutdown();
    return status;
}

} // namespace ServeCommand
