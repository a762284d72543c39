/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "app/Commands.h"
#include "app/DesktopIdentity.h"
#include "app/SessionEnd.h"
#include "app/VupAppDelegate.h"
#include "platform/SystemLog.h"

#include <QApplication>
#include <QFile>
#include <QMainWindow>
#include <QPixmap>
#include <QSessionManager>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

// How long quitting waits for a running scan to wind down before the process leaves without it.
constexpr int kQuitGraceMs = 10000;
constexpr const char* kLeftRunningScan = "Quitting while a scan was still running";
constexpr const char* kScreenshotOption = "--screenshot";
constexpr int kScreenshotDelayMs = 1500;

// `--screenshot FILE` (for the documentation): takes the option out of the arguments Qt sees.
QString takeScreenshotOption(int& argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], kScreenshotOption) != 0)
            continue;
        const QString file = QString::fromLocal8Bit(argv[i + 1]);
        for (int j = i; j + 2 <= argc; ++j)
            argv[j] = argv[j + 2];
        argc -= 2;
        return file;
    }
    return {};
}

} // namespace

int runWindow(int argc, char** argv) {
    const QString screenshot = takeScreenshotOption(argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vup"));
    DesktopIdentity::apply();
    QApplication::setQuitOnLastWindowClosed(true);

    VupAppDelegate controller;
    controller.window()->show();
    QObject::connect(&app, &QGuiApplication::applicationStateChanged, &controller,
                     [&controller](Qt::ApplicationState s) {
                         if (s == Qt::ApplicationActive)
                             controller.applicationDidBecomeActive();
                     });
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &controller, &VupAppDelegate::prepareToQuit);
    // The session ending stops a run as closing the window does, before the session manager
    // may end the process.
    SessionEnd sessionEnd;
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &controller, [&controller](QSessionManager&) {
        controller.setCancelled(true);
        controller.waitForScanToEnd(kQuitGraceMs);
    });
    // The launch steps run once the event loop turns, as they would after the window came up.
    QTimer::singleShot(0, &controller, [&controller] {
        controller.applicationDidFinishLaunching();
        controller.applicationDidBecomeActive();
    });

    // Saves the window as it stands once launched, then quits.
    bool screenshotSaved = true;
    if (!screenshot.isEmpty()) {
        QTimer::singleShot(kScreenshotDelayMs, &controller, [&controller, &screenshot, &screenshotSaved] {
            screenshotSaved = controller.window()->grab().save(screenshot);
            QCoreApplication::quit();
        });
    }

    int status = app.exec();
    if (!screenshotSaved) {
        std::fputs(QCoreApplication::translate("Window", "vup: cannot save the screenshot %1\n")
                       .arg(screenshot)
                       .toLocal8Bit()
                       .constData(),
                   stderr);
        status = 1;
    }
    if (!controller.waitForScanToEnd(kQuitGraceMs)) {
        // Destroying the controller under a running scan thread would crash; the assertion is
        // already released, so leaving now loses nothing.
        vupLog(QString::fromLatin1(kLeftRunningScan));
        std::fflush(nullptr);
        ::_exit(status);
    }
    return status;
}
