/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "app/Commands.h"
#include "app/Licence.h"
#include "app/TerminalText.h"
#include "app/WindowOptions.h"
#include "crashreporter/CrashLogWriter.h"
#include "l10n/Translations.h"
#include "platform/BundleInfo.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstring>

namespace {

constexpr int kBadArguments = 2;
constexpr const char* kUsage = QT_TRANSLATE_NOOP(
    "vup", "usage: vup                      open the window\n"
           "       vup scan --library|--selection [--delete] [--recover-zombies] [--dry-run]\n"
           "                [--report FILE.json|FILE.csv | --report-raw FILE.csv] [--yes]\n"
           "       vup crash-report [--send|--ignore|--discard] [--comments TEXT] [--email "
           "ADDRESS]\n"
           "       vup defaults read [KEY] | write KEY VALUE | delete KEY\n"
           "       vup --version | --help\n");
constexpr const char* kUnknownOption = QT_TRANSLATE_NOOP("vup", "vup: unknown option \"%1\"\n");
constexpr const char* kUnknownCommand = QT_TRANSLATE_NOOP("vup", "vup: unknown command \"%1\"\n");

// Every application object of the process, whichever face makes it, speaks the user's language.
void installTranslations() {
    Translations::install(QStringLiteral("vup"));
}

// The help texts come before any face made its application object: one is made for them alone.
void print(FILE* stream, const QString& line) {
    std::fputs(line.toUtf8().constData(), stream);
}

QString text(const char* source) {
    return QCoreApplication::translate("vup", source);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installTranslations)

int main(int argc, char** argv) {
    // Every face of the program leaves a crash log that the next window launch offers.
    installCrashLogWriter();
    if (argc < 2)
        return runWindow(argc, argv);
    const char* command = argv[1];
    if (std::strcmp(command, "scan") == 0)
        return runScanCommand(argc, argv);
    if (std::strcmp(command, "crash-report") == 0)
        return runCrashReportCommand(argc, argv);
    if (std::strcmp(command, "defaults") == 0)
        return runDefaultsCommand(argc, argv);
    if (std::strcmp(command, "--version") == 0) {
        const QString version =
            BundleInfo::value(QString::fromLatin1(BundleInfo::kShortVersion)).value_or(QString());
        std::printf("vup %s\n%s\n%s\n", version.toUtf8().constData(), Licence::kCopyright, Licence::kNotice);
        return 0;
    }
    if (std::strcmp(command, "--help") == 0 || std::strcmp(command, "-h") == 0 ||
        std::strcmp(command, "help") == 0) {
        QCoreApplication app(argc, argv);
        print(stdout, text(kUsage));
        return 0;
    }
    // Qt's own options (-platform, -style ...) still reach the window; nothing else opens it.
    if (command[0] == '-') {
        const int unknown = firstUnknownWindowArgument(argc, argv);
        if (unknown == 0)
            return runWindow(argc, argv);
        QCoreApplication app(argc, argv);
        print(stderr, text(kUnknownOption).arg(terminalSafe(QByteArray(argv[unknown]))));
        print(stderr, text(kUsage));
        return kBadArguments;
    }
    QCoreApplication app(argc, argv);
    print(stderr, text(kUnknownCommand).arg(terminalSafe(QByteArray(command))));
    print(stderr, text(kUsage));
    return kBadArguments;
}
