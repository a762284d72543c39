#include "app/Commands.h"
#include "app/CrashHooks.h"
#include "app/VupAppDelegate.h"
#include "platform/SystemLog.h"

#include <QApplication>
#include <QMainWindow>
#include <QTimer>
#include <cstdio>
#include <unistd.h>

namespace {

// How long quitting waits for a running scan to wind down before the process leaves without it.
constexpr int kQuitGraceMs = 10000;
constexpr const char* kLeftRunningScan = "Quitting while a scan was still running";

} // namespace

int runWindow(int argc, char** argv) {
    installCrashLogWriter();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vup"));
    QApplication::setQuitOnLastWindowClosed(true);

    VupAppDelegate controller;
    controller.window()->show();
    QObject::connect(&app, &QGuiApplication::applicationStateChanged, &controller,
                     [&controller](Qt::ApplicationState s) {
                         if (s == Qt::ApplicationActive)
                             controller.applicationDidBecomeActive();
                     });
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &controller, &VupAppDelegate::prepareToQuit);
    // The launch steps run once the event loop turns, as they would after the window came up.
    QTimer::singleShot(0, &controller, [&controller] {
        controller.applicationDidFinishLaunching();
        controller.applicationDidBecomeActive();
    });

    const int status = app.exec();
    if (!controller.waitForScanToEnd(kQuitGraceMs)) {
        // Destroying the controller under a running scan thread would crash; the assertion is
        // already released, so leaving now loses nothing.
        vupLog(QString::fromLatin1(kLeftRunningScan));
        std::fflush(nullptr);
        ::_exit(status);
    }
    return status;
}
