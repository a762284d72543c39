/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "l10n/Translations.h"
#include "photoapp/CommandLine.h"
#include "photoapp/ImageMetadata.h"
#include "photoapp/window/WindowApplication.h"

#include <QCoreApplication>
#include <csignal>

namespace {

// The terminal's application object and the window's alike speak the user's language.
void installTranslations() {
    Translations::install(QStringLiteral("photoapp"));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installTranslations)

int main(int argc, char** argv) {
    // A write past a file size limit fails like a full disk instead of killing the process.
    std::signal(SIGXFSZ, SIG_IGN);
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    if (CommandLine::wantsWindow(arguments))
        return WindowApplication::run(argc, argv);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("photoapp"));
    ImageMetadataIo::initialize();
    return CommandLine::run(QCoreApplication::arguments());
}
