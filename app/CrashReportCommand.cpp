/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
// `vup crash-report`: the crash report window's choices on a terminal, for machines without a
// display. The same discovery, report fields, request, answer test and effects as the window; it
// never sends without the user's explicit choice.
#include "app/Commands.h"
#include "app/TerminalText.h"
#include "crashreporter/DiscardCrashLog.h"
#include "crashreporter/ZXNCrashReportSubmission.h"
#include "crashreporter/ZXNCrashReporter.h"
#include "crashreporter/ZXNCrashReporterWindowController.h"
#include "crashreporter/ZXNException.h"
#include "crashreporter/ZXNSystemInformation.h"
#include "platform/OwnEmailAddress.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>
#include <QUrl>
#include <cstdio>
#include <cstring>
#include <optional>
#include <variant>

namespace {

enum class Action { Ask, Send, Ignore, Discard };

constexpr const char* kUsage = QT_TRANSLATE_NOOP(
    "CrashReportCommand",
    "usage: vup crash-report [--send|--ignore|--discard] [--comments TEXT] [--email ADDRESS]\n");
constexpr int kBadArguments = 2;
constexpr const char* kNoAddress = QT_TRANSLATE_NOOP(
    "CrashReportCommand", "No crash report submission address is configured (vup defaults write "
                          "ZXNCrashReporterCrashSubmissionURL URL).");
constexpr const char* kUnusableAddress = QT_TRANSLATE_NOOP(
    "CrashReportCommand", "vup: the crash report submission address is not an http or https URL "
                          "(vup defaults write ZXNCrashReporterCrashSubmissionURL URL)");

QString text(const char* source) {
    return QCoreApplication::translate("CrashReportCommand", source);
}

void print(FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

QString describe(const QString& name, const QVariant& value) {
    if (value.metaType().id() == QMetaType::QUrl) {
        const QFileInfo log(value.toUrl().toLocalFile());
        return QStringLiteral("  %1: file %2 (%3 bytes)")
            .arg(name, terminalSafe(log.fileName()), QString::number(log.size()));
    }
    if (value.metaType().id() == QMetaType::Bool)
        return QStringLiteral("  %1: %2")
            .arg(name, value.toBool() ? QStringLiteral("1") : QStringLiteral("0"));
    return QStringLiteral("  %1: %2").arg(name, terminalSafe(value.toString()));
}

// Reads the user's choice; nothing when standard input ends without one.
std::optional<Action> ask() {
    QTextStream in(stdin);
    while (true) {
        // The answers stay s, i and d (or the English words) in every language.
        std::fputs(QCoreApplication::translate("CrashReportCommand",
                                               "Send this report? [s]end, [i]gnore, [d]iscard: ")
                       .toLocal8Bit()
                       .constData(),
                   stdout);
        std::fflush(stdout);
        QString line;
        if (!in.readLineInto(&line))
            return std::nullopt;
        const QString answer = line.trimmed().toLower();
        if (answer == u"s" || answer == u"send")
            return Action::Send;
        if (answer == u"i" || answer == u"ignore")
            return Action::Ignore;
        if (answer == u"d" || answer == u"discard")
            return Action::Discard;
    }
}

int send(const ZXNCrashReporter::NewCrashLog& log, const std::optional<QString>& email,
         const QString& comments) {
    ZXNCrashReportSubmission submission(log.log, log.submissionURL);
    int status = 1;
    QObject::connect(&submission, &ZXNCrashReportSubmission::succeeded, [&] {
        print(stdout, ZXNCrashReportSubmission::localized(ZXNCrashReportSubmission::kSucceededTitle));
        print(stdout, ZXNCrashReportSubmission::localized(ZXNCrashReporterWindowController::kSucceededMessage)
                          .arg(ZXNCrashReporterWindowController::nameForTexts()));
        status = 0;
        QCoreApplication::quit();
    });
    QObject::connect(&submission, &ZXNCrashReportSubmission::failed, [&](const QString& error) {
        print(stderr, ZXNCrashReportSubmission::localized(ZXNCrashReportSubmission::kFailedTitle));
        print(stderr, ZXNCrashReportSubmission::localized(ZXNCrashReportSubmission::kFailedMessageFormat)
                          .arg(terminalSafe(error)));
        QCoreApplication::quit();
    });
    submission.sendCrashReport(email, comments);
    QCoreApplication::exec();
    return status;
}

struct Options {
    Action action = Action::Ask;
    QString comments;
    std::optional<QString> email = ownEmailAddress();
};

std::optional<Options> parseOptions(int argc, char** argv) {
    Options options;
    for (int i = 2; i < argc; ++i) {
        const char* arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(arg, "--send") == 0 && options.action == Action::Ask) {
            options.action = Action::Send;
        } else if (std::strcmp(arg, "--ignore") == 0 && options.action == Action::Ask) {
            options.action = Action::Ignore;
        } else if (std::strcmp(arg, "--discard") == 0 && options.action == Action::Ask) {
            options.action = Action::Discard;
        } else if (std::strcmp(arg, "--comments") == 0 && hasValue) {
            options.comments = QString::fromLocal8Bit(argv[++i]);
        } else if (std::strcmp(arg, "--email") == 0 && hasValue) {
            // An empty address is still an address: sent as such when sending it is allowed.
            options.email = QString::fromLocal8Bit(argv[++i]);
        } else {
            return std::nullopt;
        }
    }
    return options;
}

// The log to offer, or the exit status when there is none to offer.
std::variant<ZXNCrashReporter::NewCrashLog, int> logToOffer() {
    std::optional<ZXNCrashReporter::NewCrashLog> log;
    try {
        log = ZXNCrashReporter::findNewCrashLog();
    } catch (const ZXNException& e) {
        if (e.name() == QLatin1StringView(ZXNCrashReporter::kMissingURLExceptionName))
            print(stderr, text(kNoAddress));
        else
            print(stderr,
                  QStringLiteral("vup: %1: %2").arg(terminalSafe(e.name()), terminalSafe(e.reason())));
        return 1;
    }
    if (!log) {
        print(stdout, QCoreApplication::translate("CrashReportCommand", "No new crash log."));
        return 0;
    }
    // Refused before anything is shown, as the window does not open for such an address either.
    if (log->submissionURL.isEmpty()) {
        print(stderr, text(kUnusableAddress));
        return 1;
    }
    return *log;
}

int act(Action action, const ZXNCrashReporter::NewCrashLog& log, const Options& options) {
    switch (action) {
    case Action::Send:
        return send(log, options.email, options.comments);
    case Action::Discard:
        if (!discardCrashLog(log.log))
            return 1;
        print(stdout, QCoreApplication::translate("CrashReportCommand", "Moved the crash log to the Trash."));
        return 0;
    case Action::Ignore:
    case Action::Ask:
        print(stdout,
              QCoreApplication::translate(
                  "CrashReportCommand", "Ignored; the crash log will be offered again at the next launch."));
        return 0;
    }
    return 1;
}

} // namespace

int runCrashReportCommand(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const std::optional<Options> options = parseOptions(argc, argv);
    if (!options) {
        std::fputs(text(kUsage).toLocal8Bit().constData(), stderr);
        return kBadArguments;
    }

    ZXNCrashReportSubmission::registerDefaults();
    const auto found = logToOffer();
    if (const int* status = std::get_if<int>(&found))
        return *status;
    const auto& log = std::get<ZXNCrashReporter::NewCrashLog>(found);

    print(stdout, QCoreApplication::translate("CrashReportCommand", "New crash log: %1")
                      .arg(terminalSafe(log.log.path())));
    print(stdout, QCoreApplication::translate("CrashReportCommand", "Report to %1 with these fields:")
                      .arg(terminalSafe(ZXNCrashReporter::displayedAddress(log.submissionURL))));
    const QVariantMap fields =
        ZXNCrashReportSubmission::reportFields(log.log.path(), options->email, options->comments,
                                               ZXNSystemInformation(), QDateTime::currentDateTime());
    for (auto it = fields.constBegin(); it != fields.constEnd(); ++it)
        print(stdout, describe(it.key(), it.value()));

    Action action = options->action;
    if (action == Action::Ask) {
        const auto chosen = ask();
        if (!chosen) {
            print(stderr, QCoreApplication::translate("CrashReportCommand",
                                                      "\nvup: no choice made; the crash log is kept"));
            return 1;
        }
        action = *chosen;
    }
    return act(action, log, *options);
}
