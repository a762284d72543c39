/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "bridge/iPhotoBridge.h"
#include "bridge/iPhotoTypes.h"
#include "platform/BundleInfo.h"
#include "platform/FileAccess.h"
#include "scan/engine/KeywordVerification.h"
#include "scan/engine/ScanDoor.h"
#include "scan/engine/VersionCheck.h"
#include "scan/engine/VupMode.h"
#include "tests/support/LogCapture.h"
#include "tests/support/PhotoAppProcess.h"
#include "tests/support/RecordingDelegate.h"
#include "tests/support/TestLibrary.h"
#include "tests/support/TestMain.h"
#include "wire/PhotoAppWire.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

const QStringList kIssueKeywords{QStringLiteral("Vup Missing"), QStringLiteral("Vup Master Missing")};
const QString kMissingKeywordsTitle = QStringLiteral("Missing Keywords");

std::shared_ptr<iPhotoApplication> application() {
    return iPhotoApplication::applicationWithBundleIdentifier(QString::fromLatin1(PhotoAppWire::kService));
}

} // namespace

class tst_Checks : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> temp;
    QString resources;

    // The keyword image the check imports, carrying the given keywords.
    bool useKeywordImage(const QStringList& keywords) {
        resources = temp->path() + QStringLiteral("/resources");
        QDir().mkpath(resources);
        qputenv("VUP_RESOURCE_DIR", QFile::encodeName(resources));
        return PhotoAppProcess::run(QStringList{QStringLiteral("keyword-image"),
                                                resources + QStringLiteral("/iPhoto Keywords.jpg")} +
                                    keywords)
                   .exitCode == 0;
    }

    // Asked of the running application: what it serves is what counts.
    static qint64 photoCount() { return application()->photoLibraryAlbum().photoCount(); }

    bool versionCheckOnScanThread(RecordingDelegate& delegate) {
        bool stop = false;
        auto app = application();
        ScanDoor door(&delegate);
        if (!runOnScanThread([&] { stop = VersionCheck::versionCheck(*app, door.versionAlert()); }))
            qFatal("version check did not return");
        return stop;
    }

    bool verifyOnScanThread(RecordingDelegate& delegate) {
        bool stop = false;
        ScanDoor door(&delegate);
        KeywordVerification check(application(), door.keywordCalls());
        check.setPollInterval(std::chrono::milliseconds(20));
        if (!runOnScanThread([&] { stop = check.verifyKeywords(kIssueKeywords, QStringLiteral("Vup")); }))
            qFatal("keyword verification did not return");
        return stop;
    }

private slots:
    void init() {
        temp = std::make_unique<QTemporaryDir>();
        QVERIFY(temp->isValid());
        BundleInfo::overrideValue(QString::fromLatin1(BundleInfo::kSupportAddress),
                                  QStringLiteral("help@vup.test"));
    }
    void cleanup() { BundleInfo::resetOverrides(); }

    // ---- version ----

    void majorVersion_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("major");
        QTest::newRow("leading blanks and sign") << "  +11.1" << 11;
        QTest::newRow("words") << "beta 9" << 0;
        QTest::newRow("digits then letters") << "12abc.3" << 12;
        QTest::newRow("too large saturates") << "99999999999999999999.1" << std::numeric_limits<int>::max();
    }
    void majorVersion() {
        QFETCH(QString, text);
        QFETCH(int, major);
        QCOMPARE(VersionCheck::majorVersion(text), major);
    }

    void versionCheck_data() {
        QTest::addColumn<QStringList>("serve"); // photoapp serve's options; not served when null
        QTest::addColumn<QString>("alert");     // "title: text" of the one modal alert, if any
        const QString unsupported = QStringLiteral("Unsupported Version: This version of Vup is compatible "
                                                   "with iPhoto '11 Versions 9.0 and above only.");
        for (const char* accepted : {"9.0", "9.5.1", "10.2", "9"})
            QTest::newRow(accepted) << QStringList{QStringLiteral("--version"), QString::fromLatin1(accepted)}
                                    << QString();
        QTest::newRow("8.1.2") << QStringList{QStringLiteral("--version"), QStringLiteral("8.1.2")}
                               << unsupported;
        QTest::newRow("empty") << QStringList{QStringLiteral("--version"), QString()} << unsupported;
        // The request fails: said with the error, and no "Unsupported Version" after it.
        QTest::newRow("failing request")
            << QStringList{}
            << QStringLiteral("Error: A serious error has occurred in communicating "
                              "with iPhoto. If the problem persists please contact "
                              "help@vup.test\ncom.example.Error.Broken\nIt broke.");
        // No application at all: said in plain words, not with the bus's error.
        QTest::newRow("not running") << QStringList()
                                     << QStringLiteral(
                                            "Error: photoapp is not running. Start it and scan again.");
    }
    void versionCheck() {
        QFETCH(QStringList, serve);
        QFETCH(QString, alert);
        TestLibrary lib;
        if (serve.isEmpty())
            QVERIFY(lib.fault({"--version-error", "com.example.Error.Broken", "It broke."}));
        if (QTest::currentDataTag() != QLatin1StringView("not running"))
            QVERIFY(lib.serve(serve));
        RecordingDelegate delegate;
        LogCapture log;
        QCOMPARE(versionCheckOnScanThread(delegate), !alert.isEmpty());
        const QString version = serve.value(1);
        QCOMPARE(log.lines().join(u'\n').contains(QStringLiteral("iPhoto Version ") + version),
                 !serve.isEmpty());
        QStringList alerts;
        for (const DelegateCall& c : delegate.calls(QStringLiteral("showModalAlert")))
            alerts.append(c.title + QStringLiteral(": ") + c.text());
        QCOMPARE(alerts, alert.isEmpty() ? QStringList() : QStringList{alert});
    }

    // ---- keywords ----

    // Known keywords are matched without regard to letter case; a missing one is taught by one
    // import of the keyword image, with no alert.
    void keywordsKnownOrTaught_data() {
        QTest::addColumn<QStringList>("known");
        QTest::addColumn<int>("imports");
        QTest::newRow("both known in other letter case")
            << QStringList{QStringLiteral("vup missing"), QStringLiteral("VUP MASTER MISSING")} << 0;
        QTest::newRow("one known") << QStringList{QStringLiteral("Vup Missing")} << 1;
        QTest::newRow("a trailing blank does not count") << QStringList{QStringLiteral("Vup Missing ")} << 1;
    }
    void keywordsKnownOrTaught() {
        QFETCH(QStringList, known);
        QFETCH(int, imports);
        TestLibrary lib;
        for (const QString& keyword : known)
            QVERIFY(lib.addKeyword(keyword));
        QVERIFY(useKeywordImage(kIssueKeywords));
        QVERIFY(lib.serve());
        RecordingDelegate delegate;
        QCOMPARE(verifyOnScanThread(delegate), false);
        QVERIFY(delegate.calls(QStringLiteral("showModalAlert")).isEmpty());
        QCOMPARE(photoCount(), imports);
    }

    void stillMissingAfterTheImport() {
        TestLibrary lib;
        QVERIFY(useKeywordImage({QStringLiteral("Vup Missing")}));
        QVERIFY(lib.serve());
        RecordingDelegate delegate;
        QList<qint64> photosAtAlert;
        delegate.on(QStringLiteral("showModalAlert"), [&](const DelegateCall&) {
            photosAtAlert.append(photoCount());
            if (photosAtAlert.size() == 2) // the user adds it by hand after the second alert
                QVERIFY(lib.addKeyword(QStringLiteral("Vup Master Missing")));
        });
        QCOMPARE(verifyOnScanThread(delegate), false);

        const auto alerts = delegate.calls(QStringLiteral("showModalAlert"));
        QCOMPARE(alerts.size(), 2);
        QCOMPARE(alerts[0].title, kMissingKeywordsTitle);
        QCOMPARE(alerts[0].text(),
                 QStringLiteral(
                     "iPhoto is missing the following keywords:\n\n\tVup Master Missing\n\nTo add keywords "
                     "in iPhoto use the menu item Window->Manage My Keywords.  Then click \"Edit "
                     "Keywords\".  There is a + button on the lower left which adds new keywords.\n\nYou "
                     "may not continue without adding these keywords. Once you have, click on okay and Vup "
                     "will check that they have been entered correctly."));
        // Every round with a keyword missing imports once more; the round after the user's fix does not.
        QCOMPARE(photosAtAlert, (QList<qint64>{1, 2}));
        QCOMPARE(photoCount(), 2);
    }

    // The application quits or the run is cancelled at the keyword alert, or while the keyword
    // image is being imported: the check ends there, instead of asking forever or waiting out
    // the import, and says nothing more.
    void checkEndsWhenTheRunCannotGoOn_data() {
        QTest::addColumn<bool>("duringImport");
        QTest::addColumn<bool>("quit");
        QTest::newRow("application quits at the alert") << false << true;
        QTest::newRow("run cancelled at the alert") << false << false;
        QTest::newRow("application killed during the import") << true << true;
        QTest::newRow("run cancelled during the import") << true << false;
    }
    void checkEndsWhenTheRunCannotGoOn() {
        QFETCH(bool, duringImport);
        QFETCH(bool, quit);
        TestLibrary lib;
        QVERIFY(useKeywordImage(duringImport ? kIssueKeywords : QStringList{QStringLiteral("Holiday")}));
        if (duringImport)
            QVERIFY(lib.fault({"--import-delay", "60000"}));
        QVERIFY(lib.serve());
        RecordingDelegate delegate;
        QElapsedTimer sinceAction;
        const auto act = [&] {
            if (!quit)
                delegate.cancelRequested = true;
            else if (duringImport)
                lib.service()->kill();
            else
                lib.stop();
            sinceAction.start();
        };
        delegate.on(QStringLiteral("showModalAlert"), [&](const DelegateCall&) { act(); });
        QTimer watcher;
        connect(&watcher, &QTimer::timeout, [&] {
            if (application()->importing()) {
                watcher.stop();
                act();
            }
        });
        if (duringImport)
            watcher.start(20);
        LogCapture log;
        QCOMPARE(verifyOnScanThread(delegate), true);
        QVERIFY(sinceAction.isValid());
        QVERIFY2(sinceAction.elapsed() < 2000, qPrintable(QString::number(sinceAction.elapsed())));
        QCOMPARE(delegate.calls(QStringLiteral("showModalAlert")).size(), duringImport ? 0 : 1);
        if (!quit || duringImport)
            return;
        QVERIFY(log.lines().contains(
            QStringLiteral("Keyword check stopped: the photo application is not running")));
    }

    // In delete mode the keywords checked are those the run will assign, once it knows them: a
    // run that only removes photos assigns nothing, so it checks nothing and imports no keyword
    // image.
    void removingRunChecksNoKeywords() {
        TestLibrary lib;
        QVERIFY(lib.demo(6, 1, 0, 0));
        QVERIFY(useKeywordImage(kIssueKeywords));
        QVERIFY(lib.serve());
        RecordingDelegate delegate;
        delegate.deleteOption = true;
        delegate.zombiesOption = false;
        VupMode vup;
        QVERIFY(runOnScanThread([&] { vup.vupScan(&delegate); }));
        QCOMPARE(vup.lastRun().outcome, ScanFindings::Outcome::Completed);
        QCOMPARE(vup.lastRun().removed.size(), 1);
        QCOMPARE(photoCount(), 5);
        QVERIFY(delegate.calls(QStringLiteral("showModalAlert")).isEmpty());
        QVERIFY(lib.service()->stop());
        QVERIFY(lib.dump()[QStringLiteral("keywords")].toArray().isEmpty());
    }

    // ---- file access ----

    void libraryPackagePath_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("package");
        QTest::newRow("photo library") << "/P/Family.photolibrary/Masters/a.jpg"
                                       << "/P/Family.photolibrary";
        QTest::newRow("both, aplibrary later wins") << "/P/Old.photolibrary/x/New.aplibrary/Masters/a.jpg"
                                                    << "/P/Old.photolibrary/x/New.aplibrary";
        QTest::newRow("both, aplibrary first") << "/P/A.aplibrary/B.photolibrary/a.jpg"
                                               << "/P/A.aplibrary";
        QTest::newRow("inside a component") << "/P/Lib.aplibraryOld/a.jpg"
                                            << "/P/Lib.aplibrary";
        QTest::newRow("capitals do not count") << "/P/LIB.PHOTOLIBRARY/a.jpg" << QString();
        QTest::newRow("outside") << "/P/a.jpg" << QString();
    }
    void libraryPackagePath() {
        QFETCH(QString, path);
        QFETCH(QString, package);
        QCOMPARE(FileAccess::libraryPackagePath(path).value_or(QString()), package);
        QCOMPARE(FileAccess::promptPath(path), package.isEmpty() ? path : package);
    }
};

VUP_TEST_MAIN_CORE(tst_Checks)
#include "tst_checks.moc"
