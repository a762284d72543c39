/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "app/Commands.h"
#include "app/TerminalDelegate.h"
#include "app/TerminalText.h"
#include "bridge/PhotoApplications.h"
#include "scan/engine/VersionCheck.h"
#include "scan/engine/VupMode.h"
#include "scan/report/FindingsCsv.h"
#include "scan/report/FindingsTable.h"
#include "scan/report/ScanFindingsJson.h"
#include "scan/report/ZombieSummary.h"
#include "scan/zombies/RecoveryResume.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QThread>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

namespace {

constexpr int kExitCompleted = 0;
constexpr int kExitNotCompleted = 1;
constexpr int kExitUsage = 2;

constexpr const char* kUsage = QT_TRANSLATE_NOOP(
    "ScanCommand",
    "usage: vup scan --library|--selection [--delete] [--recover-zombies] [--dry-run]\n"
    "                [--report FILE.json|FILE.csv | --report-raw FILE.csv] [--yes]\n"
    "                [--app photoapp|darktable]\n"
    "  --library          scan every photo of the library\n"
    "  --selection        scan the photos selected in the photo application\n"
    "  --delete           remove photos whose image file is gone instead of tagging them\n"
    "  --recover-zombies  re-import files in Masters/ that no photo names (library scans)\n"
    "  --dry-run          make every check, print what would be done, change nothing\n"
    "  --report FILE      write the findings as JSON, or as a CSV table when FILE ends in .csv\n"
    "                     (cells that a spreadsheet would run as formulas begin with ')\n"
    "  --report-raw FILE  write the CSV table with every cell exactly as it is\n"
    "  --yes              answer prompts at once instead of reading standard input\n"
    "  --app NAME         the photo application to repair; needed when both are running\n");
constexpr const char* kBothRunning = QT_TRANSLATE_NOOP(
    "ScanCommand",
    "both photoapp and darktable are running; say which library to repair with --app photoapp or "
    "--app darktable");

constexpr const char* kCannotWriteReport =
    QT_TRANSLATE_NOOP("ScanCommand", "vup scan: cannot write the report %1");

struct Arguments {
    TerminalDelegate::Options options;
    bool dryRun = false;
    QString reportPath;
    CsvCells csvCells = CsvCells::SpreadsheetSafe;
    std::optional<PhotoApplications::Kind> application;
};

bool isCsvName(const QString& path) {
    return path.endsWith(QLatin1StringView(".csv"), Qt::CaseInsensitive);
}

QString text(const char* source) {
    return QCoreApplication::translate("ScanCommand", source);
}

void print(FILE* stream, const QString& line) {
    std::fprintf(stream, "%s\n", line.toLocal8Bit().constData());
}

int usageError(const char* message, const QByteArray& detail = {}) {
    if (!detail.isNull())
        print(stderr, QStringLiteral("vup scan: %1 \"%2\"").arg(text(message), terminalSafe(detail)));
    else
        print(stderr, QStringLiteral("vup scan: ") + text(message));
    std::fputs(text(kUsage).toLocal8Bit().constData(), stderr);
    return kExitUsage;
}

// Parses argv[2..]; answers kExitCompleted when the arguments are good, else the exit status.
int parse(int argc, char** argv, Arguments& args) {
    bool library = false;
    bool selection = false;
    for (int i = 2; i < argc; ++i) {
        const char* a = argv[i];
        if (std::strcmp(a, "--library") == 0)
            library = true;
        else if (std::strcmp(a, "--selection") == 0)
            selection = true;
        else if (std::strcmp(a, "--delete") == 0)
            args.options.autoDelete = true;
        else if (std::strcmp(a, "--recover-zombies") == 0)
            args.options.recoverZombies = true;
        else if (std::strcmp(a, "--dry-run") == 0)
            args.dryRun = true;
        else if (std::strcmp(a, "--yes") == 0)
            args.options.assumeYes = true;
        else if (std::strcmp(a, "--app") == 0) {
            if (i + 1 >= argc)
                return usageError(QT_TRANSLATE_NOOP("ScanCommand", "--app needs photoapp or darktable"));
            args.application = PhotoApplications::kindNamed(QString::fromLocal8Bit(argv[++i]));
            if (!args.application)
                return usageError(QT_TRANSLATE_NOOP("ScanCommand", "--app takes photoapp or darktable, not"),
                                  argv[i]);
        } else if (std::strcmp(a, "--report") == 0 || std::strcmp(a, "--report-raw") == 0) {
            if (i + 1 >= argc || argv[i + 1][0] == '\0')
                return usageError(QT_TRANSLATE_NOOP("ScanCommand", "--report needs a file name"));
            args.reportPath = QString::fromLocal8Bit(argv[++i]);
            const bool raw = std::strcmp(a, "--report-raw") == 0;
            if (raw && !isCsvName(args.reportPath))
                return usageError(QT_TRANSLATE_NOOP(
                    "ScanCommand", "--report-raw writes a CSV table; its file name must end in .csv"));
            args.csvCells = raw ? CsvCells::Exact : CsvCells::SpreadsheetSafe;
        } else if (std::strcmp(a, "--help") == 0 || std::strcmp(a, "-h") == 0) {
            std::fputs(text(kUsage).toLocal8Bit().constData(), stdout);
            return -1;
        } else
            return usageError(QT_TRANSLATE_NOOP("ScanCommand", "unknown option"), a);
    }
    if (library == selection)
        return usageError(
            QT_TRANSLATE_NOOP("ScanCommand", "choose exactly one of --library and --selection"));
    args.options.selectionMode = selection;
    if (!args.reportPath.isEmpty()) {
        // Refuse before scanning rather than after: a report that cannot be written is a failed run.
        const QFileInfo report(args.reportPath);
        if (report.isDir())
            return usageError(QT_TRANSLATE_NOOP("ScanCommand", "the report path is a folder:"),
                              QFile::encodeName(args.reportPath));
        if (!report.absoluteDir().exists()) {
            print(stderr, text(QT_TRANSLATE_NOOP("ScanCommand", "vup scan: no folder %1 for the report"))
                              .arg(terminalSafe(QFile::encodeName(report.absolutePath()))));
            return kExitNotCompleted;
        }
    }
    return kExitCompleted;
}

QString photoAt(const ScanFindings& f, qsizetype i) {
    return text(QT_TRANSLATE_NOOP("ScanCommand", "photo %1 (position %2)")).arg(f.photos.at(i).id()).arg(i);
}

QString describe(const ScanFindings& f, qsizetype i) {
    const QVariant& p = i < f.paths.size() ? f.paths.at(i) : QVariant();
    const QString path = p.metaType().id() == QMetaType::QString
                             ? p.toString()
                             : text(QT_TRANSLATE_NOOP("ScanCommand", "(no path)"));
    return path.isEmpty() ? photoAt(f, i) : photoAt(f, i) + u' ' + terminalSafe(path);
}

void line(const QString& sentence) {
    print(stdout, sentence);
}

// A refused change as the run noted it ("remove", "tag KEYWORD"), in a sentence of its own for each.
QString failedChange(const ScanFindings& f, const ScanFindings::FailedChange& c) {
    const QString photo = describe(f, c.position);
    const QString why = terminalSafe(findingTextShown(c.reason));
    const QString tag = QStringLiteral("tag ");
    if (c.action == u"remove")
        return text(QT_TRANSLATE_NOOP("ScanCommand", "failed to remove: %1: %2")).arg(photo, why);
    if (c.action.startsWith(tag))
        return text(QT_TRANSLATE_NOOP("ScanCommand", "failed to tag %1: %2: %3"))
            .arg(c.action.mid(tag.size()), photo, why);
    return QStringLiteral("failed to %1: %2: %3").arg(c.action, photo, why);
}

// What the run did, in the order it did it: removals during the pass, then the master-missing
// tags, then the missing-image tags; then what it tried and could not do, and what it could not
// check.
void printActions(const ScanFindings& f) {
    const bool dry = f.dryRun;
    const QString tagged = dry ? text(QT_TRANSLATE_NOOP("ScanCommand", "would tag \"%1\": %2"))
                               : text(QT_TRANSLATE_NOOP("ScanCommand", "tagged \"%1\": %2"));
    const QString removed = dry ? text(QT_TRANSLATE_NOOP("ScanCommand", "would remove: %1"))
                                : text(QT_TRANSLATE_NOOP("ScanCommand", "removed: %1"));
    for (const qsizetype i : f.removed)
        line(removed.arg(describe(f, i)));
    for (const qsizetype i : f.taggedMasterMissing)
        line(tagged.arg(VupMode::kMasterMissingKeyword, describe(f, i)));
    for (const qsizetype i : f.taggedMissing)
        line(tagged.arg(VupMode::kMissingKeyword, describe(f, i)));
    for (const ScanFindings::FailedChange& c : f.failedChanges)
        line(failedChange(f, c));
    for (const ScanFindings::Unchecked& u : f.unchecked)
        line(text(QT_TRANSLATE_NOOP("ScanCommand", "unchecked: %1: %2"))
                 .arg(photoAt(f, u.position), terminalSafe(findingTextShown(u.reason))));
    // A zombie's name that is not UTF-8 shows its odd bytes as escapes, so it can still be found.
    for (const QByteArray& z : zombieListing(f))
        line(terminalSafe(z));
    if (dry)
        line(text(QT_TRANSLATE_NOOP("ScanCommand", "dry run: nothing was changed")));
    std::fflush(stdout);
}

bool writeReport(const Arguments& args, const ScanFindings& findings) {
    QSaveFile file(args.reportPath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const bool written = isCsvName(args.reportPath) ? writeFindingsCsv(file, findingsTable(findings).rows,
                                                                       findings.application, args.csvCells)
                                                    : writeScanReport(file, findings);
    return written && file.commit();
}

// A run refused before it began, as its report tells it.
ScanFindings refusedFindings(const Arguments& args, const QString& application) {
    ScanFindings refused;
    refused.outcome = ScanFindings::Outcome::VersionRefused;
    refused.application = application;
    refused.selectionMode = args.options.selectionMode;
    refused.deleteMode = args.options.autoDelete;
    refused.dryRun = args.dryRun;
    return refused;
}

// Refused before it began: the window's own words, and a report that says the run was refused.
int refuseWithoutApplication(const Arguments& args, PhotoApplications::Kind chosen) {
    print(stderr,
          QStringLiteral("vup scan: ") + VersionCheck::notRunningText(PhotoApplications::name(chosen)));
    if (const QString waiting = RecoveryResume::describeUnfinished(); !waiting.isEmpty())
        print(stderr, terminalSafeLines(RecoveryResume::shownLines(waiting)));
    if (!args.reportPath.isEmpty() &&
        !writeReport(args, refusedFindings(args, PhotoApplications::name(chosen))))
        print(stderr, text(kCannotWriteReport).arg(terminalSafe(QFile::encodeName(args.reportPath))));
    return kExitNotCompleted;
}

} // namespace

int runScanCommand(int argc, char** argv) {
    // Made first, so that even a mistyped option is answered in the user's language.
    int qtArgc = 1;
    QCoreApplication app(qtArgc, argv);
    Arguments args;
    if (const int status = parse(argc, argv, args); status != kExitCompleted)
        return status < 0 ? kExitCompleted : status;

    const std::optional<PhotoApplications::Kind> chosen =
        PhotoApplications::choose(PhotoApplications::running(), args.application);
    // Guessing would repair a library the user did not mean: a refused run, not a usage mistake.
    if (!chosen) {
        print(stderr, QStringLiteral("vup scan: ") + text(kBothRunning));
        return kExitNotCompleted;
    }
    auto vup = std::make_unique<VupMode>();
    vup->useApplication(*chosen);
    if (!vup->photoApplicationIsRunning())
        return refuseWithoutApplication(args, *chosen);
    vup->setDryRun(args.dryRun);

    TerminalDelegate delegate(args.options, stdin, stdout);
    TerminalDelegate::installInterruptHandler();
    delegate.prepareForRun();

    std::unique_ptr<QThread> scanThread(QThread::create([&vup, &delegate] { vup->vupScan(&delegate); }));
    QObject::connect(scanThread.get(), &QThread::finished, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    scanThread->start();
    app.exec();
    scanThread->wait();
    // Hand-offs the scan thread posted without waiting (its last alert among them) run now.
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents();

    const ScanFindings findings = vup->lastRun();
    printActions(findings);
    if (TerminalDelegate::interruptReceived() && findings.outcome != ScanFindings::Outcome::Cancelled)
        print(stderr,
              text(QT_TRANSLATE_NOOP(
                  "ScanCommand",
                  "vup scan: the interrupt came after the changes had begun, so it did not stop them")));
    // Only a run that checked every photo and had every change confirmed succeeded.
    int status = findings.outcome == ScanFindings::Outcome::Completed ? kExitCompleted : kExitNotCompleted;
    if (!args.reportPath.isEmpty() && !writeReport(args, findings)) {
        print(stderr, text(kCannotWriteReport).arg(terminalSafe(QFile::encodeName(args.reportPath))));
        status = kExitNotCompleted;
    }
    return status;
}
