/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
// `vup crash-report` and `vup defaults` as a user runs them: separate processes on the same
// user defaults and crash log folder, sending to a real loopback server.
#include "platform/BundleInfo.h"
#include "platform/UserDefaults.h"
#include "tests/crashreporter/PendingCrashLog.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/FileTree.h"
#include "tests/support/TestMain.h"

#include <QTemporaryDir>
#include <memory>

using namespace crashtest;

class tst_CrashCommands : public QObject, PendingCrashLog {
    Q_OBJECT

    ProgramRun vup(const QStringList& args, const QByteArray& input = QByteArray()) {
        return runProgram(QStringLiteral(VUP_EXECUTABLE), args, input, 30000);
    }

    UserDefaults& defaults() {
        UserDefaults::standard().reload();
        return UserDefaults::standard();
    }

    QByteArray storedDefaults() { return FileTree::read(UserDefaults::standard().filePath()); }

private slots:
    void init() {
        qputenv("EMAIL", "me@example.org");
        QVERIFY(start("Exception Type: SIGSEGV\n"));
    }

    void cleanup() { server.reset(); }

    // ---- vup defaults ----

    void defaultsAreWrittenInTheFormTheApplicationReads() {
        QCOMPARE(vup({"defaults", "write", "skipInfoScreen", "-bool", "YES"}).exitCode, 0);
        QVERIFY(defaults().boolForKey(QStringLiteral("skipInfoScreen")));
        QCOMPARE(vup({"defaults", "write", "skipInfoScreen", "-bool", "no"}).exitCode, 0);
        QVERIFY(!defaults().boolForKey(QStringLiteral("skipInfoScreen")));
        QCOMPARE(vup({"defaults", "read", "skipInfoScreen"}).out, QStringLiteral("NO\n"));

        QCOMPARE(vup({"defaults", "write", kDateKey, "-date", "2026-01-31T08:15:00.250+01:00"}).exitCode, 0);
        QCOMPARE(defaults().dateForKey(kDateKey),
                 std::optional(
                     QDateTime::fromString(QStringLiteral("2026-01-31T07:15:00.250Z"), Qt::ISODateWithMs)));

        QCOMPARE(vup({"defaults", "write", "ZXNCrashReporterPreferredReportingLocale", "de_DE"}).exitCode, 0);
        const ProgramRun all = vup({"defaults", "read"});
        QCOMPARE(all.exitCode, 0);
        QVERIFY(all.out.contains(QStringLiteral("ZXNCrashReporterPreferredReportingLocale = de_DE\n")));
        QVERIFY(all.out.contains(
            QStringLiteral("ZXNCrashReporterLastCrashReportDate = 2026-01-31T07:15:00.250Z\n")));

        QCOMPARE(vup({"defaults", "delete", "skipInfoScreen"}).exitCode, 0);
        QVERIFY(!defaults().hasStoredValue(QStringLiteral("skipInfoScreen")));
        QCOMPARE(vup({"defaults", "delete", "skipInfoScreen"}).exitCode, 1);
        QCOMPARE(vup({"defaults", "read", "skipInfoScreen"}).exitCode, 1);
        // A text that looks like a type is stored as text when asked to.
        QCOMPARE(vup({"defaults", "write", "skipInfoScreen", "-string", "-bool"}).exitCode, 0);
        QCOMPARE(defaults().stringForKey(QStringLiteral("skipInfoScreen")),
                 std::optional(QStringLiteral("-bool")));
    }

    void badArgumentsChangeNothing_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("reason"); // the line before the usage, if any
        const QString key = QStringLiteral("ZXNCrashReporterIncludeAnonymousSystemInformation");
        QTest::newRow("typed write without its value")
            << QStringList{"defaults", "write", key, "-bool"} << "vup: -bool needs a value\n";
        QTest::newRow("empty key") << QStringList{"defaults", "write", "", "v"}
                                   << "vup: a default needs a name\n";
        QTest::newRow("boolean that does not parse")
            << QStringList{"defaults", "write", key, "-bool", "perhaps"}
            << "vup: \"perhaps\" is not a boolean (YES or NO)\n";
        QTest::newRow("integer that does not parse")
            << QStringList{"defaults", "write", key, "-int", "12x"} << "vup: \"12x\" is not an integer\n";
        QTest::newRow("date that does not parse")
            << QStringList{"defaults", "write", kDateKey, "-date", "yesterday"}
            << "vup: \"yesterday\" is not an ISO 8601 date\n";
        QTest::newRow("unknown type") << QStringList{"defaults", "write", key, "-float", "1"} << QString();
        QTest::newRow("unknown verb") << QStringList{"defaults", "frobnicate"} << QString();
        QTest::newRow("unknown option") << QStringList{"crash-report", "--bogus"} << QString();
        QTest::newRow("two choices") << QStringList{"crash-report", "--send", "--discard"} << QString();
        // Refused before Qt sees them: Qt would ignore them and open the window.
        QTest::newRow("mistyped program option")
            << QStringList{"--versionx"} << "vup: unknown option \"--versionx\"\n";
    }

    void badArgumentsChangeNothing() {
        QFETCH(QStringList, args);
        QFETCH(QString, reason);
        const QByteArray before = storedDefaults();
        QVERIFY(!before.isEmpty());
        const ProgramRun run = vup(args);
        QCOMPARE(run.exitCode, 2);
        // A command's own usage, or the program's for a bad option before any command.
        const QString command = args.first().startsWith(u'-') ? QString() : args.first();
        QVERIFY2(run.err.startsWith(reason + QStringLiteral("usage: vup ") + command), qPrintable(run.err));
        QCOMPARE(storedDefaults(), before);
        QVERIFY(QFile::exists(logPath));
        QVERIFY(server->requests().empty());
    }

    // ---- vup crash-report ----

    // What happens to the log and the stored date either way is the report window's test: both
    // faces send through the same submission.
    void sendFailsUntilTheAnswerIsRecognised() {
        server->answer(200, "OK\n");
        const ProgramRun refused = vup({"crash-report", "--send", "--email", ""});
        QCOMPARE(refused.exitCode, 1);
        QVERIFY(refused.err.contains(QStringLiteral("The error was: Unrecognized response from the server")));
        // An empty address is an address.
        QCOMPARE(server->requests().front().parts.at("emailAddress").content, std::string());

        server->answer(200, "ok\n");
        const ProgramRun run = vup({"crash-report", "--send", "--comments", "after saving"});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QVERIFY(run.out.contains(QStringLiteral("  emailAddress: me@example.org\n")));
        QVERIFY(run.out.contains(QStringLiteral("The crash report was successfully submitted.\n"
                                                "Thank you for taking the time to help improve Vup!\n")));
        const auto requests = server->requests();
        QCOMPARE(requests.size(), std::size_t(2));
        QCOMPARE(QString::fromStdString(requests.back().parts.at("comments").content),
                 QStringLiteral("after saving"));
        QCOMPARE(QString::fromStdString(requests.back().parts.at("emailAddress").content),
                 QStringLiteral("me@example.org"));
        // Nothing is left to offer.
        const ProgramRun again = vup({"crash-report", "--send"});
        QCOMPARE(again.exitCode, 0);
        QCOMPARE(again.out, QStringLiteral("No new crash log.\n"));
        QCOMPARE(server->requests().size(), std::size_t(2));
    }

    void nothingIsSentWithoutAnExplicitChoice() {
        const ProgramRun closed = vup({"crash-report"});
        QCOMPARE(closed.exitCode, 1);
        const ProgramRun ignored = vup({"crash-report"}, "maybe\ni\n");
        QCOMPARE(ignored.exitCode, 0);
        QVERIFY(server->requests().empty());
        QVERIFY(QFile::exists(logPath));
        QCOMPARE(defaults().dateForKey(kDateKey), std::optional(storedDate));

        const ProgramRun discarded = vup({"crash-report"}, "d\n");
        QCOMPARE(discarded.exitCode, 0);
        QVERIFY(!QFile::exists(logPath));
        QVERIFY(QFile::exists(
            home->filePath(QStringLiteral("XDG_DATA_HOME/Trash/files/Vup_2026-12-06-101010_host.crash"))));
        QVERIFY(server->requests().empty());
    }

    void unusableAddressOffersNothing_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("message");
        const QString unusable =
            QStringLiteral("vup: the crash report submission address is not an http or https "
                           "URL (vup defaults write ZXNCrashReporterCrashSubmissionURL URL)\n");
        // A blank address in the defaults falls back to the build's, and builds carry none.
        QTest::newRow("none") << ""
                              << "No crash report submission address is configured (vup defaults write "
                                 "ZXNCrashReporterCrashSubmissionURL URL).\n";
        QTest::newRow("ftp") << "ftp://127.0.0.1/crashreport" << unusable;
    }

    void unusableAddressOffersNothing() {
        QFETCH(QString, address);
        QFETCH(QString, message);
        if (address.isEmpty() && BundleInfo::value(kURLKey))
            QSKIP("this build carries a submission address of its own");
        QCOMPARE(vup({"defaults", "write", kURLKey, address}).exitCode, 0);
        const ProgramRun run = vup({"crash-report", "--send"});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.err, message);
        QCOMPARE(run.out, QString());
        QVERIFY(QFile::exists(logPath));
        QVERIFY(server->requests().empty());
        QCOMPARE(defaults().dateForKey(kDateKey), std::optional(storedDate));
    }

    void namesAndTextsArePrintedTerminalSafe() {
        // The address's user information is never shown.
        QUrl address = server->url();
        address.setUserInfo(QStringLiteral("user:secret"));
        UserDefaults::standard().setString(kURLKey, address.toString());
        // Older than the pending log, so offered first.
        const QString evil = writeLog(
            QDir(userLogFolder(*home)).filePath(QStringLiteral("Vup_\x1b[2J\r\nNew crash log: x.crash")), "x",
            storedDate.addSecs(1));
        QVERIFY(!evil.isEmpty());
        const ProgramRun run = vup({"crash-report", "--ignore", "--comments", "one\ntwo\u202e"});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.out.startsWith(QStringLiteral("New crash log: ") + userLogFolder(*home) +
                                    QStringLiteral("/Vup_\\e[2J\\r\\nNew crash log: x.crash\n")),
                 qPrintable(run.out));
        QVERIFY(run.out.contains(QStringLiteral("  comments: one\\ntwo\\u{202e}\n")));
        QVERIFY(!run.out.contains(u'\x1b') && !run.out.contains(u'\r') && !run.out.contains(QChar(0x202e)));
        QVERIFY(run.out.contains(QStringLiteral("Report to http://127.0.0.1:")));
        QVERIFY(!run.out.contains(QStringLiteral("secret")) && !run.out.contains(QStringLiteral("user@")));
        // No line but the first looks like the program's own.
        QCOMPARE(run.out.split(u'\n').filter(QRegularExpression(QStringLiteral("^New crash log:"))).size(),
                 1);
    }
};

VUP_TEST_MAIN_CORE(tst_CrashCommands)
#include "tst_crashcommands.moc"
