/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
// Finding new crash logs at launch: the stored date, which folder is searched, which entries
// count as this application's logs, which one is offered first, and logs written by the crash
// log writer in a process that really crashed.
#include "crashreporter/ZXNCrashReporter.h"
#include "crashreporter/ZXNException.h"
#include "platform/BundleInfo.h"
#include "platform/LibraryFolders.h"
#include "platform/UserDefaults.h"
#include "tests/crashreporter/CrashTestHome.h"
#include "tests/support/AsNobody.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

using namespace crashtest;

namespace {

const QString kBundleAddress = QStringLiteral("https://bundle.invalid/submit");

struct Offer {
    QString path;
    QUrl url;
};

std::optional<Offer> check() {
    std::optional<Offer> offer;
    int calls = 0;
    ZXNCrashReporter::checkForNewCrashes([&](const OfferedCrashLog& log, const QUrl& url) {
        ++calls;
        offer = Offer{log.path(), url};
    });
    if (calls > 1)
        qWarning("more than one log offered");
    return calls > 1 ? std::nullopt : offer;
}

} // namespace

class tst_CrashDiscovery : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> home;
    QString userLogs;
    QString machineLogs;
    QDateTime base;

    QString makeLog(const QString& folder, const QString& relative, const QDateTime& modified) {
        return writeLog(QDir(folder).filePath(relative), "Process: Vup\n", modified);
    }

    void storeDate(const QDateTime& when) { UserDefaults::standard().setDate(kDateKey, when); }

    // Runs the helper that crashes on purpose (`mode`) with its user log folder at `logs`; answers
    // the one crash log it left there, named as the writer names them, or empty.
    QString crashInto(const QString& logs, const QString& mode) {
        storeDate(QDateTime::currentDateTimeUtc().addSecs(-2));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_STATE_HOME"),
                           logs.chopped(QStringLiteral("/Logs/DiagnosticReports").size()));
        ChildProcess child(QStringLiteral(VUP_CRASHING_HELPER), {mode}, {},
                           [&](QProcess& p) { p.setProcessEnvironment(environment); });
        if (child.wait(30000) != -1 || child.process.exitStatus() != QProcess::CrashExit)
            return {};
        const QStringList found = QDir(logs).entryList(QDir::Files);
        static const QRegularExpression name(QStringLiteral("^Vup_\\d{4}-\\d{2}-\\d{2}-\\d{6}_.+\\.crash$"));
        if (found.size() != 1 || !name.match(found.first()).hasMatch()) {
            qWarning() << "crash logs found:" << found;
            return {};
        }
        return QDir(logs).filePath(found.first());
    }

private slots:
    void init() {
        home = std::make_unique<QTemporaryDir>();
        QVERIFY(home->isValid());
        isolateHome(*home);
        UserDefaults::standard().reload();
        BundleInfo::resetOverrides();
        // Builds carry no address of their own unless a packager gives one.
        BundleInfo::overrideValue(kURLKey, kBundleAddress);
        LibraryFolders::setMachineLibraryForTesting(home->filePath(QStringLiteral("machine")));
        userLogs = userLogFolder(*home);
        machineLogs = home->filePath(QStringLiteral("machine/Logs/DiagnosticReports"));
        QVERIFY(QDir().mkpath(userLogs));
        base = QDateTime::fromMSecsSinceEpoch(QDateTime::currentMSecsSinceEpoch() / 1000 * 1000 - 3600 * 1000,
                                              Qt::UTC);
    }

    void cleanup() {
        LibraryFolders::setMachineLibraryForTesting({});
        BundleInfo::resetOverrides();
    }

    void missingAddressRaisesAndStoresNothing() {
        BundleInfo::overrideValue(kURLKey, std::nullopt);
        makeLog(userLogs, QStringLiteral("Vup_a.crash"), base);
        // Its name and reason are compared where launch logs them.
        QVERIFY_THROWS_EXCEPTION(ZXNException, check());
        QVERIFY(!UserDefaults::standard().hasStoredValue(kDateKey));
    }

    void firstRunStoresNowAndOffersNothingOlder() {
        makeLog(userLogs, QStringLiteral("Vup_old.crash"), QDateTime::currentDateTimeUtc().addSecs(-5));
        const QDateTime before = QDateTime::currentDateTimeUtc().addMSecs(-1);
        QVERIFY(!check());
        const auto stored = UserDefaults::standard().dateForKey(kDateKey);
        QVERIFY(stored);
        QVERIFY(*stored >= before && *stored <= QDateTime::currentDateTimeUtc());
        // The next launch does not offer it either.
        QVERIFY(!check());
    }

    // Only logs strictly later than the stored date are offered, the oldest first (by name when
    // equally old); offering advances nothing: only a successful submission does.
    void laterLogsAreOfferedOldestFirst() {
        storeDate(base);
        makeLog(userLogs, QStringLiteral("Vup_same.crash"), base);
        QVERIFY(!check());
        // First by name, last by date.
        makeLog(userLogs, QStringLiteral("Vup_0.crash"), base.addSecs(3));
        makeLog(userLogs, QStringLiteral("Vup_b.crash"), base.addSecs(1));
        const QString a = makeLog(userLogs, QStringLiteral("Vup_a.crash"), base.addSecs(1));
        makeLog(userLogs, QStringLiteral("Vup_d.crash"), base.addSecs(2));
        const auto offer = check();
        QVERIFY(offer);
        QCOMPARE(offer->path, a);
        QCOMPARE(UserDefaults::standard().dateForKey(kDateKey), std::optional(base));
    }

    void userFolderShadowsMachineFolder() {
        storeDate(base);
        const QString machineLog = makeLog(machineLogs, QStringLiteral("Vup_m.crash"), base.addSecs(10));
        QCOMPARE(ZXNCrashReporter::crashLogDirectories(), QStringList{userLogs});
        QVERIFY(QDir(userLogs).removeRecursively());
        QCOMPARE(ZXNCrashReporter::crashLogDirectories(), QStringList{machineLogs});
        QCOMPARE(check()->path, machineLog);
        QVERIFY(QDir(machineLogs).removeRecursively());
        QVERIFY(ZXNCrashReporter::crashLogDirectories().isEmpty());
    }

    void submissionAddressFromDefaultsThenBundle_data() {
        QTest::addColumn<QString>("stored");   // in the user defaults
        QTest::addColumn<QString>("expected"); // empty: the log is offered with no URL
        QTest::newRow("bundle's") << QString() << kBundleAddress;
        QTest::newRow("user's first") << "http://defaults.invalid/submit"
                                      << "http://defaults.invalid/submit";
        QTest::newRow("blank user's") << " " << kBundleAddress;
        // Anything but a web address with a host is refused: no reports into files or other protocols.
        QTest::newRow("does not parse") << "http://exa mple/%zz" << QString();
        QTest::newRow("ftp") << "ftp://defaults.invalid/submit" << QString();
        QTest::newRow("no host") << "http:///submit" << QString();
    }

    void submissionAddressFromDefaultsThenBundle() {
        QFETCH(QString, stored);
        QFETCH(QString, expected);
        storeDate(base);
        makeLog(userLogs, QStringLiteral("Vup_x.crash"), base.addSecs(1));
        if (!stored.isNull())
            UserDefaults::standard().setString(kURLKey, stored);
        const auto offer = check();
        QVERIFY(offer);
        QCOMPARE(offer->url, QUrl(expected));
    }

    void onlyRegularFilesNamedAfterTheApplicationQualify() {
        storeDate(base);
        const QString longer = makeLog(userLogs, QStringLiteral("VupHelper_1.crash"), base.addSecs(1));
        const QString nested = makeLog(userLogs, QStringLiteral("Vup_folder/inner.crash"), base.addSecs(2));
        makeLog(userLogs, QStringLiteral("Other_1.crash"), base.addSecs(1));
        makeLog(userLogs, QStringLiteral("sub/Vup_1.crash"), base.addSecs(1));
        QVERIFY(QFile::link(longer, QDir(userLogs).filePath(QStringLiteral("Vup_link.crash"))));
        // Not ours to send: a log in a folder anyone may write, and another user's log.
        const QString shared = makeLog(userLogs, QStringLiteral("Vup_shared/1.crash"), base.addSecs(1));
        QCOMPARE(::chmod(QFile::encodeName(QFileInfo(shared).absolutePath()).constData(), 0777), 0);
        const QString foreign = makeLog(userLogs, QStringLiteral("Vup_foreign.crash"), base.addSecs(1));
        if (::chown(QFile::encodeName(foreign).constData(), AsNobody::kNobody, AsNobody::kNobody) != 0)
            QVERIFY(QFile::remove(foreign)); // only root can give a file away
        QStringList paths = ZXNCrashReporter::crashLogPaths();
        paths.sort();
        QCOMPARE(paths, (QStringList{longer, nested}));
        // The folder itself is never a candidate, however new.
        QVERIFY(QFile::remove(nested));
        QVERIFY(QFile::remove(longer));
        QCOMPARE(ZXNCrashReporter::crashLogPaths(), QStringList());
    }

    void withoutBundleNameTheApplicationNameIsUsed() {
        storeDate(base);
        BundleInfo::overrideValue(QStringLiteral("CFBundleName"), std::nullopt);
        const QString own = makeLog(
            userLogs, QCoreApplication::applicationName() + QStringLiteral("_1.crash"), base.addSecs(1));
        makeLog(userLogs, QStringLiteral("Vup_1.crash"), base.addSecs(1));
        QCOMPARE(ZXNCrashReporter::crashLogPaths(), QStringList{own});
    }

    void crashedProcessLeavesALogThatTheNextLaunchOffers_data() {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("signalName");
        QTest::addColumn<QString>("faultingAddress"); // a pattern; \\1 is the crashed process's pid
        QTest::addColumn<bool>("deep");
        QTest::newRow("segmentation fault") << QStringLiteral("segv") << QStringLiteral("SIGSEGV")
                                            << QStringLiteral("0x0000000000000010") << false;
        // A signal sent by a process has no faulting address; it names its sender instead.
        QTest::newRow("abort") << QStringLiteral("abort") << QStringLiteral("SIGABRT")
                               << QStringLiteral("none \\(signal sent by pid \\1\\)") << false;
        // Well within what the system allows for a path, but longer than a log line.
        QTest::newRow("folder with a long path") << QStringLiteral("segv") << QStringLiteral("SIGSEGV")
                                                 << QStringLiteral("0x0000000000000010") << true;
    }

    void crashedProcessLeavesALogThatTheNextLaunchOffers() {
        QFETCH(QString, mode);
        QFETCH(QString, signalName);
        QFETCH(QString, faultingAddress);
        QFETCH(bool, deep);
        QVERIFY(QDir(userLogs).removeRecursively());
        const QString deepState = home->filePath(QStringLiteral("state/") + QString(200, u'd') + u'/' +
                                                 QString(200, u'e') + u'/' + QString(200, u'f'));
        const QString path =
            crashInto(deep ? deepState + QStringLiteral("/Logs/DiagnosticReports") : userLogs, mode);
        if (deep)
            qputenv("XDG_STATE_HOME", deepState.toUtf8());
        QVERIFY(!path.isEmpty());
        QFile log(path);
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(log.readAll());
        QVERIFY2(text.contains(QStringLiteral("Exception Type:   ") + signalName), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Version:          1.0.0 (1)")));
        QVERIFY(text.contains(QStringLiteral("Crashed Thread:   ")));
        const QRegularExpression fault(
            QStringLiteral("^Process: +Vup \\[(\\d+)\\]\n[\\s\\S]*\nFaulting Address: ") + faultingAddress +
            u'\n');
        QVERIFY2(fault.match(text).hasMatch(), qPrintable(text));
        const qsizetype backtrace = text.indexOf(QStringLiteral("Backtrace:\n"));
        QVERIFY(backtrace > 0);
        QVERIFY(text.mid(backtrace).count(u'\n') > 2);
        const auto offer = ZXNCrashReporter::findNewCrashLog();
        QVERIFY(offer);
        QCOMPARE(offer->log.path(), path);
    }
};

VUP_TEST_MAIN_CORE(tst_CrashDiscovery)
#include "tst_crashdiscovery.moc"
