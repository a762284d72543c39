/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "photoapp/window/WindowApplication.h"

#include "photoapp/CommandLine.h"
#include "photoapp/ImageMetadata.h"
#include "photoapp/Log.h"
#include "photoapp/window/LibraryWindow.h"

#include <QApplication>
#include <QCoreApplication>
#include <cstdlib>

namespace {

QtMessageHandler qtHandler = nullptr;

// Qt ends the process with abort() when its display cannot be reached: a core dump for what is
// only a missing display. Its reason was printed just before; the process leaves with status 1.
void exitOnFatal(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type != QtFatalMsg) {
        qtHandler(type, context, message);
        return;
    }
    PhotoAppLog::line(
        QCoreApplication::translate("WindowApplication", "cannot show a window: %1").arg(message));
    std::_Exit(1);
}

std::unique_ptr<QObject> makeWindow(const LibraryPackage& library, std::function<bool()> importing,
                                    QString* error) {
    std::unique_ptr<LibraryWindow> window = LibraryWindow::open(library, std::move(importing), error);
    if (!window)
        return nullptr;
    QObject::connect(window.get(), &LibraryWindow::closed, qApp, [] {
        PhotoAppLog::line(QStringLiteral("the window was closed; stopping"));
        QCoreApplication::exit(0);
    });
    window->show();
    return window;
}

} // namespace

namespace WindowApplication {

int run(int& argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        // An application object without a display, only to say so in the user's language.
        QCoreApplication app(argc, argv);
        PhotoAppLog::line(QCoreApplication::translate(
            "WindowApplication", "no display to show a window on (neither DISPLAY nor WAYLAND_DISPLAY "
                                 "is set); photoapp serve LIBRARY serves the library without one"));
        return 1;
    }
    qtHandler = qInstallMessageHandler(exitOnFatal);
    QApplication app(argc, argv);
    qInstallMessageHandler(qtHandler);
    QApplication::setApplicationName(QStringLiteral("photoapp"));
    // The window's close ends the service, once, and only then.
    QApplication::setQuitOnLastWindowClosed(false);
    ImageMetadataIo::initialize();
    return CommandLine::run(QCoreApplication::arguments(), makeWindow);
}

} // namespace WindowApplication
