#include "photoapp/ServeCommand.h"

#include "bridge/PhotoAppWire.h"
#include "photoapp/LibraryLock.h"
#include "photoapp/Log.h"
#include "photoapp/PhotoAppService.h"
#include "photoapp/ShutdownSignals.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusError>
#include <QTimer>

namespace {
// QtDBus tells a server nothing when its bus daemon dies; look now and then.
constexpr int kBusCheckIntervalMs = 500;
} // namespace

namespace ServeCommand {

int run(std::unique_ptr<Catalogue> catalogue, const QString& version) {
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
    const QString root = catalogue->library().root();
    PhotoAppService service(std::move(catalogue), version);
    if (!service.registerOn(bus, &error)) {
        PhotoAppLog::line(error);
        return 1;
    }
    PhotoAppLog::line(QStringLiteral("serving %1").arg(root));

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

    const int status = QCoreApplication::exec();
    service.shutdown();
    bus.unregisterService(QString::fromLatin1(PhotoAppWire::kService));
    return status;
}

} // namespace ServeCommand
