/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "tests/support/ChildProcess.h"
#include "tests/support/FileTree.h"
#include "tests/support/TestLibrary.h"
#include "tests/support/TestMain.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QObject>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <memory>
#include <unistd.h>

namespace {

ProgramRun vupScan(const QStringList& args) {
    return runProgram(QStringLiteral(VUP_EXECUTABLE), QStringList{QStringLiteral("scan")} + args);
}

// Every file below the folder with its size and modification time.
QStringList tree(const QString& folder) {
    QStringList entries;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo f(it.next());
        if (f.fileName().contains(QStringLiteral(".sqlite")))
            continue; // the catalogue is compared through its dump
        entries.append(QStringLiteral("%1 %2 %3")
                           .arg(f.filePath())
                           .arg(f.size())
                           .arg(f.lastModified().toMSecsSinceEpoch()));
    }
    entries.sort();
    return entries;
}

// A demo library with photos whose image is gone and photos whose master is gone.
bool makeDemo(TestLibrary& lib, int zombies = 0) {
    return lib.demo(12, 2, 1, zombies) && lib.addIssueKeywords();
}

// Nothing the run could have changed was changed: no keyword on any photo, nothing in the trash.
bool untouched(const TestLibrary& lib) {
    const QJsonObject dump = lib.dump();
    for (const QJsonValue& p : dump.value(QStringLiteral("photos")).toArray()) {
        if (!p.toObject().value(QStringLiteral("keywords")).toArray().isEmpty())
            return false;
    }
    return !dump.isEmpty() && lib.photosOfAlbum(lib.trashAlbumId()).isEmpty();
}

QJsonObject readReport(const QString& path) {
    return QJsonDocument::fromJson(FileTree::read(path)).object();
}

} // namespace

// `vup scan` as a real child process against a served library: arguments, exit status, output,
// the dry run, the JSON report, and runs the application disturbs or that cannot finish their work.
class tst_ScanCommand : public QObject {
    Q_OBJECT

private:
    // One large library shared by the rows that disturb the application mid-load.
    std::unique_ptr<TestLibrary> midLoadLibrary;

private slots:
    void badArguments_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        QTest::newRow("no mode") << QStringList{}
                                 << QStringLiteral("choose exactly one of --library and --selection");
        QTest::newRow("both modes") << QStringList{QStringLiteral("--library"), QStringLiteral("--selection")}
                                    << QStringLiteral("choose exactly one");
        QTest::newRow("unknown option") << QStringList{QStringLiteral("--library"), QStringLiteral("--fast")}
                                        << QStringLiteral("unknown option \"--fast\"");
        QTest::newRow("report without file")
            << QStringList{QStringLiteral("--library"), QStringLiteral("--report")}
            << QStringLiteral("--report needs a file name");
        QTest::newRow("raw report that is no table")
            << QStringList{QStringLiteral("--library"), QStringLiteral("--report-raw"),
                           QStringLiteral("r.json")}
            << QStringLiteral("--report-raw writes a CSV table");
    }

    void badArguments() {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        const ProgramRun r = vupScan(args);
        QCOMPARE(r.exitCode, 2);
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
        QVERIFY(r.err.contains(QStringLiteral("usage: vup scan")));
    }

    void reportDescribesFindings() {
        TestLibrary lib;
        QVERIFY(makeDemo(lib));
        // One photo whose image path comes back as a missing value, one whose path is left out.
        const QJsonArray photos = lib.dump().value(QStringLiteral("photos")).toArray();
        const qint64 nulled = photos.first().toObject().value(QStringLiteral("id")).toInteger();
        const qint64 pathless = photos.last().toObject().value(QStringLiteral("id")).toInteger();
        QVERIFY(lib.faultPhoto(nulled, QStringLiteral("--null"), QStringLiteral("imagePath")));
        QVERIFY(lib.faultPhoto(pathless, QStringLiteral("--absent"), QStringLiteral("imagePath")));
        QVERIFY(lib.serve());
        const QString reportPath = lib.folder() + QStringLiteral("/report.json");
        const ProgramRun r = vupScan({QStringLiteral("--library"), QStringLiteral("--delete"),
                                      QStringLiteral("--yes"), QStringLiteral("--report"), reportPath});
        QCOMPARE(r.exitCode, 0);
        // A photo without a path is listed without a trailing blank.
        QVERIFY2(r.out.contains(
                     QRegularExpression(QStringLiteral(": photo %1 \\(position \\d+\\)\n").arg(pathless))),
                 qPrintable(r.out));
        const QJsonObject report = readReport(reportPath);
        QCOMPARE(report.value(QStringLiteral("outcome")).toString(), QStringLiteral("completed"));
        QCOMPARE(report.value(QStringLiteral("mode")).toString(), QStringLiteral("library"));
        QVERIFY(report.value(QStringLiteral("delete")).toBool());
        const QJsonObject counts = report.value(QStringLiteral("counts")).toObject();
        QCOMPARE(counts.value(QStringLiteral("photos")).toInt(), 12);
        QCOMPARE(counts.value(QStringLiteral("missingImage")).toInt(), 4);
        QCOMPARE(counts.value(QStringLiteral("missingMaster")).toInt(), 1);
        QCOMPARE(counts.value(QStringLiteral("issues")).toInt(), 5);
        QCOMPARE(counts.value(QStringLiteral("removed")).toInt(), 2);
        QCOMPARE(counts.value(QStringLiteral("taggedMissing")).toInt(), 2);
        QCOMPARE(counts.value(QStringLiteral("taggedMasterMissing")).toInt(), 1);
        QCOMPARE(counts.value(QStringLiteral("zombies")).toInt(), 0);
        const QJsonArray listed = report.value(QStringLiteral("photos")).toArray();
        QCOMPARE(listed.size(), 5);
        bool sawNulled = false;
        for (const QJsonValue& v : listed) {
            const QJsonObject p = v.toObject();
            for (const char* key :
                 {"position", "id", "imageFilename", "imagePath", "originalPath", "sets", "actions"})
                QVERIFY2(p.contains(QString::fromLatin1(key)), key);
            if (p.value(QStringLiteral("id")).toInteger() == nulled) {
                sawNulled = true;
                QVERIFY(p.value(QStringLiteral("imagePath")).isNull());
                QCOMPARE(p.value(QStringLiteral("position")).toInt(), 0);
                QCOMPARE(p.value(QStringLiteral("sets")).toArray(),
                         QJsonArray{QStringLiteral("missingImage")});
                // Its file was never checked, so it was tagged rather than removed.
                QCOMPARE(p.value(QStringLiteral("actions")).toArray(),
                         QJsonArray{QStringLiteral("tagged Vup Missing")});
            }
        }
        QVERIFY(sawNulled);
        QVERIFY(report.value(QStringLiteral("zombies")).toArray().isEmpty());
    }

    // Refused runs exit with 1 and report the refusal: no application (in the window's sentence),
    // nothing selected, a report that cannot be written (before anything is scanned).
    void refusedRunExitsWithOne() {
        TestLibrary lib;
        QVERIFY(lib.addPhoto(lib.writeFile(QStringLiteral("a.jpg"))));
        const QString reportPath = lib.folder() + QStringLiteral("/refused.json");
        const ProgramRun notRunning = vupScan(
            {QStringLiteral("--library"), QStringLiteral("--yes"), QStringLiteral("--report"), reportPath});
        QCOMPARE(notRunning.exitCode, 1);
        QVERIFY2(notRunning.err.contains(
                     QStringLiteral("vup scan: photoapp is not running. Start it and scan again.")),
                 qPrintable(notRunning.err));
        QCOMPARE(readReport(reportPath).value(QStringLiteral("refusal")).toString(),
                 QStringLiteral("version"));

        QVERIFY(lib.serve());
        const ProgramRun r = vupScan({QStringLiteral("--selection"), QStringLiteral("--report"), reportPath});
        QCOMPARE(r.exitCode, 1);
        QVERIFY(r.out.contains(
            QStringLiteral("Unable To Process\nYou need to select the photos you want me to process")));
        const QJsonObject report = readReport(reportPath);
        QCOMPARE(report.value(QStringLiteral("outcome")).toString(), QStringLiteral("refused"));
        QCOMPARE(report.value(QStringLiteral("refusal")).toString(), QStringLiteral("nothing to process"));

        // A report that cannot be written is refused before anything is scanned.
        const ProgramRun noFolder = vupScan({QStringLiteral("--library"), QStringLiteral("--report"),
                                             lib.folder() + QStringLiteral("/no/such/folder/r.json")});
        QCOMPARE(noFolder.exitCode, 1);
        QVERIFY(!noFolder.out.contains(QStringLiteral("Loading Data")));
    }

    void missingKeywordsEndTheRun_data() {
        QTest::addColumn<QStringList>("extra");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QString>("taught"); // the one keyword the keyword image carries
        QTest::addColumn<int>("alerts");     // each one after an import of the keyword image
        QTest::addColumn<int>("removed");
        QTest::addColumn<QString>("lang"); // empty: the test's own environment
        QTest::newRow("--yes") << QStringList{QStringLiteral("--yes")} << QByteArray() << "Vup Missing" << 1
                               << 0 << QString();
        QTest::newRow("input closed")
            << QStringList{} << QByteArray() << "Vup Missing" << 1 << 0 << QString();
        QTest::newRow("one OK, then input closed")
            << QStringList{} << QByteArray("\n") << "Vup Missing" << 2 << 0 << QString();
        // It checks what it will assign once it knows it: after its pass, whose removals stand.
        QTest::newRow("delete run, after its removals")
            << QStringList{QStringLiteral("--delete"), QStringLiteral("--yes")} << QByteArray() << "Holiday"
            << 1 << 1 << QString();
        QTest::newRow("--yes, German locale") << QStringList{QStringLiteral("--yes")} << QByteArray()
                                              << "Vup Missing" << 1 << 0 << QStringLiteral("de_DE.UTF-8");
    }

    // Nobody is at the terminal to add keywords by hand: with --yes, or once standard input is
    // closed, a keyword alert that comes back after the import ends the run, tagging nothing.
    void missingKeywordsEndTheRun() {
        QFETCH(QStringList, extra);
        QFETCH(QByteArray, input);
        QFETCH(QString, taught);
        QFETCH(int, alerts);
        QFETCH(int, removed);
        QFETCH(QString, lang);
        TestLibrary lib;
        QVERIFY(lib.demo(4, 1, 1, 0));
        const QString resources = lib.folder() + QStringLiteral("/resources");
        QVERIFY(QDir().mkpath(resources));
        QCOMPARE(
            photoapp("keyword-image", resources + QStringLiteral("/iPhoto Keywords.jpg"), taught).exitCode,
            0);
        const QByteArray shipped = qgetenv("VUP_RESOURCE_DIR");
        qputenv("VUP_RESOURCE_DIR", QFile::encodeName(resources));
        const auto restore = qScopeGuard([&] { qputenv("VUP_RESOURCE_DIR", shipped); });
        QVERIFY(lib.serve());
        const QString reportPath = lib.folder() + QStringLiteral("/report.json");
        ChildProcess vup(QStringLiteral(VUP_EXECUTABLE),
                         QStringList{QStringLiteral("scan"), QStringLiteral("--library"),
                                     QStringLiteral("--report"), reportPath} +
                             extra,
                         input, [&lang](QProcess& p) {
                             if (lang.isEmpty())
                                 return;
                             // The language as a user's session sets it, nothing taking precedence.
                             QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
                             for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"})
                                 environment.remove(QString::fromLatin1(name));
                             environment.insert(QStringLiteral("LANG"), lang);
                             p.setProcessEnvironment(environment);
                         });
        QCOMPARE(vup.wait(60000), 1);
        // The alert's title in either language: the keywords it lists are never translated.
        QCOMPARE(vup.out.count("Missing Keywords") + vup.out.count("Fehlende Schlagwörter"), alerts);
        QVERIFY(vup.out.contains("\tVup Master Missing\n") && !vup.out.contains("\tVup Missing\n"));
        const QByteArray givenUp =
            lang.isEmpty() ? QByteArray("still lacks the keywords")
                           : QByteArray("Der Fotoanwendung fehlen noch die oben genannten Schlagwörter");
        QVERIFY2(vup.err.contains(givenUp), vup.err.constData());
        // The run's last status, in the user's language too.
        const QByteArray refused =
            lang.isEmpty() ? QByteArray("Scan Refused\n") : QByteArray("Prüfung abgelehnt\n");
        QVERIFY2(vup.out.contains(refused), vup.out.constData());
        // With --yes nobody is asked to press Enter; otherwise each alert waits for one line.
        QCOMPARE(vup.out.count("Press Enter to continue."),
                 extra.contains(QStringLiteral("--yes")) ? 0 : alerts);
        QCOMPARE(vup.out.count("removed: "), removed);
        QCOMPARE(vup.out.count("tagged "), 0);
        QCOMPARE(lib.photosOfAlbum(lib.libraryAlbumId()).size(), 4 - removed + alerts);
        const QJsonObject report = readReport(reportPath);
        QCOMPARE(report.value(QStringLiteral("outcome")).toString(), QStringLiteral("refused"));
        QCOMPARE(report.value(QStringLiteral("refusal")).toString(), QStringLiteral("keywords"));
        int masterMissing = 0;
        for (const QJsonValue& photo : report.value(QStringLiteral("photos")).toArray()) {
            masterMissing +=
                photo[QStringLiteral("sets")].toArray().contains(QStringLiteral("missingMaster"));
            for (const QJsonValue& action : photo[QStringLiteral("actions")].toArray())
                QVERIFY2(!action.toString().startsWith(QStringLiteral("tagged")),
                         qPrintable(action.toString()));
        }
        QCOMPARE(masterMissing, removed);
    }

    // A dry run says what it would do, never what was done, and changes nothing, files included. A
    // name that commands the terminal and forges a line prints as one line of escapes; a name a
    // spreadsheet would run as a formula is defused in the CSV table, and kept exact in the raw one.
    void dryRunOfHostileNames() {
        TestLibrary lib;
        QVERIFY(makeDemo(lib, 2));
        const QString forged = QStringLiteral("=1+1 \x1b[31mred\x1b]0;title\x07\nremoved: photo 1.jpg");
        QVERIFY(lib.addPhoto(lib.path() + QStringLiteral("/Masters/Gone/") + forged));
        QVERIFY(!lib.addZombie("Extra/+cmd|calc!A0 \xff.jpg").isEmpty());
        QVERIFY(lib.serve());
        const QJsonObject before = lib.dump();
        const QStringList filesBefore = tree(lib.folder());
        QTemporaryDir reports;
        const QString safeCsv = reports.filePath(QStringLiteral("safe.csv"));
        const QString rawCsv = reports.filePath(QStringLiteral("raw.csv"));
        for (const auto& [option, path] : {std::pair(QStringLiteral("--report"), safeCsv),
                                           std::pair(QStringLiteral("--report-raw"), rawCsv)}) {
            const ProgramRun r = vupScan({QStringLiteral("--library"), QStringLiteral("--delete"),
                                          QStringLiteral("--recover-zombies"), QStringLiteral("--dry-run"),
                                          QStringLiteral("--yes"), option, path});
            QCOMPARE(r.exitCode, 0);
            QCOMPARE(r.out.count(QStringLiteral("would remove: ")), 3);
            QCOMPARE(r.out.count(QStringLiteral("would tag \"Vup Master Missing\": ")), 1);
            QCOMPARE(r.out.count(QStringLiteral("would recover zombie: ")), 3);
            QVERIFY2(
                r.out.contains(QStringLiteral("Success\nDry run: Vup found 4 issues that would be tagged "
                                              "or deleted.\n\n3 zombies would be re-added to your "
                                              "library.\n")),
                qPrintable(r.out));
            QVERIFY(!r.out.contains(QStringLiteral("were tagged")) &&
                    !r.out.contains(QStringLiteral("re-added to your library.  They")));
            QVERIFY(r.out.contains(QStringLiteral("dry run: nothing was changed")));
            QVERIFY2(r.out.contains(QStringLiteral("/Masters/Gone/=1+1 \\e[31mred\\e]0;title\\x07\\nremoved: "
                                                   "photo 1.jpg\n")),
                     qPrintable(r.out));
            QVERIFY2(r.out.contains(QStringLiteral("/Masters/Extra/+cmd|calc!A0 \\xff.jpg\n")),
                     qPrintable(r.out));
            QVERIFY(!r.out.contains(u'\x1b') && !r.out.contains(u'\x07'));
            QVERIFY(!QRegularExpression(QStringLiteral("(^|\n)removed: ")).match(r.out).hasMatch());
        }
        QCOMPARE(lib.dump(), before);
        QCOMPARE(tree(lib.folder()), filesBefore);
        const QByteArray safe = FileTree::read(safeCsv);
        QVERIFY2(safe.contains(",\"'=1+1 \x1b[31m") && safe.contains(",'+cmd|calc!A0 \xff.jpg,"),
                 safe.constData());
        const QByteArray raw = FileTree::read(rawCsv);
        QVERIFY2(raw.contains(",\"=1+1 \x1b[31m") && raw.contains(",+cmd|calc!A0 \xff.jpg,"),
                 raw.constData());
    }

    void applicationMisbehavesMidLoad_data() {
        QTest::addColumn<QString>("action"); // done to the application once loading is under way
        QTest::addColumn<int>("signal");     // then sent to vup (0: none)
        QTest::addColumn<bool>("deleteMode");
        QTest::addColumn<QString>("told");
        QTest::addColumn<int>("withinMs"); // from the last thing done to the end of vup
        const QString gone = QStringLiteral("Scan Failed\n\nUnable To Continue\nphotoapp stopped responding "
                                            "while Vup was working. Nothing more was changed. "
                                            "Run the scan again when photoapp is running.");
        const QString cancelled = QStringLiteral("\nScan Cancelled\n");
        QTest::newRow("killed and restarted")
            << QStringLiteral("kill and restart") << 0 << false << gone << 2000;
        QTest::newRow("killed, delete mode") << QStringLiteral("kill") << 0 << true << gone << 2000;
        QTest::newRow("stopped") << QStringLiteral("stop") << 0 << false << gone << 30000;
        QTest::newRow("stopped, then Ctrl-C")
            << QStringLiteral("stop") << int(SIGINT) << false << cancelled << 2000;
        QTest::newRow("stopped, then SIGTERM")
            << QStringLiteral("stop") << int(SIGTERM) << true << cancelled << 2000;
        QTest::newRow("stopped, then SIGHUP")
            << QStringLiteral("stop") << int(SIGHUP) << false << cancelled << 2000;
    }

    // The application dies, is replaced or stalls while its photos are read: no photo is tagged or
    // removed on the strength of its silence, the run ends promptly and says why, exit status 1.
    void applicationMisbehavesMidLoad() {
        QFETCH(QString, action);
        QFETCH(int, signal);
        QFETCH(bool, deleteMode);
        QFETCH(QString, told);
        QFETCH(int, withinMs);
        if (!midLoadLibrary) {
            // Big enough that loading lasts a while; one tenth of its photos have no image file.
            midLoadLibrary = std::make_unique<TestLibrary>();
            QVERIFY(midLoadLibrary->demo(6000, 600, 0, 0) && midLoadLibrary->addIssueKeywords());
        }
        TestLibrary& lib = *midLoadLibrary;
        QVERIFY(lib.serve());
        QStringList args{QStringLiteral("--library"), QStringLiteral("--yes")};
        if (deleteMode)
            args.append(QStringLiteral("--delete"));
        ChildProcess scan(QStringLiteral(VUP_EXECUTABLE), QStringList{QStringLiteral("scan")} + args);
        QVERIFY2(scan.waitFor("Loading Data\n", "/6000\n"), scan.out.constData());

        const auto server = pid_t(lib.pid());
        if (action == QLatin1StringView("stop")) {
            ::kill(server, SIGSTOP);
        } else {
            ::kill(server, SIGKILL);
            if (action == QLatin1StringView("kill and restart")) {
                lib.stop();
                QVERIFY(lib.serve());
            }
        }
        if (signal) {
            QTest::qWait(500);
            ::kill(pid_t(scan.pid()), signal);
        }
        QElapsedTimer timer;
        timer.start();
        const int status = scan.wait(60000);
        const qint64 took = timer.elapsed();
        if (action == QLatin1StringView("stop"))
            ::kill(server, SIGCONT);
        lib.stop();

        QCOMPARE(status, 1);
        QVERIFY2(took < withinMs, qPrintable(QStringLiteral("%1 ms").arg(took)));
        QVERIFY2(scan.out.contains(told.toUtf8()), scan.out.constData());
        QVERIFY2(!scan.out.contains("tagged ") && !scan.out.contains("removed: "), scan.out.constData());
        QVERIFY(untouched(lib));
    }

    void incompleteRunIsReported_data() {
        QTest::addColumn<bool>("lowerCaseKeywords");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("unchecked");
        QTest::addColumn<int>("refused");
        QTest::newRow("properties of a photo cannot be read")
            << false << QStringLiteral("--fail-properties") << 1 << 0;
        QTest::newRow("the application refuses a change")
            << false << QStringLiteral("--refuse-changes") << 0 << 1;
        QTest::newRow("complete") << false << QString() << 0 << 0;
        // The application matches keywords whatever their letter case: every assignment is confirmed.
        QTest::newRow("keywords known in another letter case") << true << QString() << 0 << 0;
    }

    // A run that could not check every photo or change every one it should have is not a success:
    // the listing and the report name those photos, the counts are what happened, exit status 1.
    void incompleteRunIsReported() {
        QFETCH(bool, lowerCaseKeywords);
        QFETCH(QString, fault);
        QFETCH(int, unchecked);
        QFETCH(int, refused);
        TestLibrary lib;
        QVERIFY(lib.demo(12, 2, 1, 0));
        if (lowerCaseKeywords)
            QVERIFY(lib.addKeyword(QStringLiteral("vup missing")) &&
                    lib.addKeyword(QStringLiteral("vup master missing")));
        else
            QVERIFY(lib.addIssueKeywords());
        // The fault goes to a photo the run would tag: one whose image file is gone.
        const qint64 failing = lib.firstPhotoWhoseImageIs(false);
        QVERIFY(failing > 0);
        if (!fault.isEmpty())
            QVERIFY(lib.faultPhoto(failing, fault));
        QVERIFY(lib.serve());
        const QString reportPath = lib.folder() + QStringLiteral("/report.json");
        const ProgramRun r = vupScan(
            {QStringLiteral("--library"), QStringLiteral("--yes"), QStringLiteral("--report"), reportPath});
        const QJsonObject dump = lib.dump();
        lib.stop();

        const bool complete = unchecked == 0 && refused == 0;
        QCOMPARE(r.exitCode, complete ? 0 : 1);
        QVERIFY2(r.out.contains(complete
                                    ? QStringLiteral("Success\nVup discovered 3 issues")
                                    : QStringLiteral("Scan Incomplete\nVup could not check %1 photo(s) and "
                                                     "could not change %2 photo(s); they were left as they "
                                                     "were and are listed in the report.")
                                          .arg(unchecked)
                                          .arg(refused)),
                 qPrintable(r.out));
        if (complete && !lowerCaseKeywords) {
            // The listing follows the run: the master-missing tag comes first.
            QCOMPARE(r.out.count(QStringLiteral("tagged \"Vup Missing\": ")), 2);
            const qsizetype master = r.out.indexOf(QStringLiteral("tagged \"Vup Master Missing\": "));
            QVERIFY(master >= 0 && master < r.out.indexOf(QStringLiteral("tagged \"Vup Missing\": ")));
        }
        int assigned = 0;
        for (const QJsonValue& p : dump.value(QStringLiteral("photos")).toArray())
            assigned += int(p.toObject().value(QStringLiteral("keywords")).toArray().size());
        // Every "tagged" line is an assignment the catalogue holds; every refusal is listed.
        QCOMPARE(r.out.count(QStringLiteral("\ntagged ")), assigned);
        QCOMPARE(assigned, 3 - refused - unchecked);
        QCOMPARE(r.out.count(QStringLiteral("\nfailed to tag ")), refused);
        QCOMPARE(r.out.count(QStringLiteral("\nunchecked: ")), unchecked);

        // The report lists the same photos, each with what was tried and why it did not happen.
        const QJsonObject report = readReport(reportPath);
        QCOMPARE(report.value(QStringLiteral("outcome")).toString(),
                 complete ? QStringLiteral("completed") : QStringLiteral("incomplete"));
        const QJsonArray listedUnchecked = report.value(QStringLiteral("unchecked")).toArray();
        const QJsonArray listedFailed = report.value(QStringLiteral("failed")).toArray();
        QCOMPARE(listedUnchecked.size(), unchecked);
        QCOMPARE(listedFailed.size(), refused);
        if (!complete) {
            const QJsonObject listed = (unchecked ? listedUnchecked : listedFailed).first().toObject();
            QVERIFY(!listed.value(QStringLiteral("reason")).toString().isEmpty());
            QCOMPARE(listed.value(QStringLiteral("id")).toInteger(), failing);
            if (refused)
                QCOMPARE(listed.value(QStringLiteral("action")).toString(),
                         QStringLiteral("tag Vup Missing"));
        }
        const QJsonObject counts = report.value(QStringLiteral("counts")).toObject();
        QCOMPARE(counts.value(QStringLiteral("taggedMissing")).toInt() +
                     counts.value(QStringLiteral("taggedMasterMissing")).toInt(),
                 assigned);
    }
};

VUP_TEST_MAIN_GUI(tst_ScanCommand)
#include "tst_scancommand.moc"
