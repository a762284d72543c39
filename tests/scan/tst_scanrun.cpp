/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "scan/engine/VupMode.h"
#include "tests/support/AsNobody.h"
#include "tests/support/DesktopServices.h"
#include "tests/support/LogCapture.h"
#include "tests/support/RecordingDelegate.h"
#include "tests/support/TestLibrary.h"
#include "tests/support/TestMain.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QObject>
#include <QTest>
#include <csignal>
#include <stdexcept>
#include <sys/stat.h>

namespace {

const QString kMissing = QStringLiteral("Vup Missing");
const QString kMasterMissing = QStringLiteral("Vup Master Missing");

qsizetype positionOf(const ScanFindings& f, qint64 id) {
    for (qsizetype i = 0; i < f.photos.size(); ++i) {
        if (f.photos.at(i).id() == id)
            return i;
    }
    return -1;
}

QList<qint64> idsAt(const ScanFindings& f, const QList<qsizetype>& positions) {
    QList<qint64> ids;
    for (qsizetype i : positions)
        ids.append(f.photos.at(i).id());
    std::sort(ids.begin(), ids.end());
    return ids;
}

// One scan on a scan thread of its own, the way the window starts one.
bool runScan(VupMode& vup, RecordingDelegate& d) {
    return runOnScanThread([&] { vup.vupScan(&d); });
}

QList<DelegateCall> windowCalls(const RecordingDelegate& d) {
    QList<DelegateCall> window = d.calls();
    window.removeIf([](const DelegateCall& c) { return !c.onMainThread; });
    return window;
}

} // namespace

// Whole scan runs against a served library: classification and what the run does to the library,
// the delegate operations and their waits, every ending, refusals, cancellation and failures.
class tst_ScanRun : public QObject {
    Q_OBJECT

private:
    DesktopServices* services = nullptr;

private slots:
    void initTestCase() {
        services = new DesktopServices;
        QVERIFY(services->start(true, true));
    }

    void cleanupTestCase() {
        delete services;
        services = nullptr;
    }

    void classificationTable_data() {
        QTest::addColumn<bool>("deleteMode");
        QTest::newRow("tagging") << false;
        QTest::newRow("delete") << true;
    }

    // Every kind of photo entry in one library: the sets it lands in, and what the run does to it.
    void classificationTable() {
        QFETCH(bool, deleteMode);
        TestLibrary lib;
        QVERIFY(lib.isValid());
        const qint64 nullPath = lib.addPhoto(lib.writeFile(QStringLiteral("a/nullpath.jpg")));
        const qint64 gone = lib.addPhoto(lib.missingPath(QStringLiteral("a/gone.jpg")));
        const qint64 masterGone = lib.addPhoto(lib.writeFile(QStringLiteral("a/edited3.jpg")),
                                               lib.missingPath(QStringLiteral("a/master3.jpg")));
        const qint64 nullNameMasterGone = lib.addPhoto(lib.writeFile(QStringLiteral("a/edited4.jpg")),
                                                       lib.missingPath(QStringLiteral("a/master4.jpg")));
        const qint64 fine = lib.addPhoto(lib.writeFile(QStringLiteral("a/edited5.jpg")),
                                         lib.writeFile(QStringLiteral("a/master5.jpg")));
        const qint64 nullName = lib.addPhoto(lib.writeFile(QStringLiteral("a/nullname.jpg")));
        const qint64 absentPath = lib.addPhoto(lib.writeFile(QStringLiteral("a/absentpath.jpg")));
        const qint64 failed = lib.addPhoto(lib.writeFile(QStringLiteral("a/failed.jpg")));
        const qint64 nullMaster = lib.addPhoto(lib.writeFile(QStringLiteral("a/nullmaster.jpg")));
        QVERIFY(nullPath && gone && masterGone && nullNameMasterGone && fine && nullName && absentPath &&
                failed && nullMaster);
        QVERIFY(lib.faultPhoto(nullPath, QStringLiteral("--null"), QStringLiteral("imagePath")));
        QVERIFY(
            lib.faultPhoto(nullNameMasterGone, QStringLiteral("--null"), QStringLiteral("imageFilename")));
        QVERIFY(lib.faultPhoto(nullName, QStringLiteral("--null"), QStringLiteral("imageFilename")));
        QVERIFY(lib.faultPhoto(absentPath, QStringLiteral("--absent"), QStringLiteral("imagePath")));
        QVERIFY(lib.faultPhoto(failed, QStringLiteral("--fail-properties")));
        QVERIFY(lib.faultPhoto(nullMaster, QStringLiteral("--null"), QStringLiteral("originalPath")));
        QVERIFY(lib.addIssueKeywords());
        QVERIFY(lib.serve());

        LogCapture log;
        const qsizetype notificationsBefore = services->notifications().size();
        VupMode vup;
        RecordingDelegate d;
        d.deleteOption = deleteMode;
        QVERIFY(runScan(vup, d));
        const ScanFindings f = vup.lastRun();
        // The photo whose properties could not be read is neither missing nor fine: unchecked.
        QCOMPARE(f.outcome, ScanFindings::Outcome::Incomplete);
        QCOMPARE(f.photos.size(), 9);
        QCOMPARE(f.unchecked.size(), 1);
        QCOMPARE(f.unchecked.first().id, failed);
        QCOMPARE(f.unchecked.first().position, positionOf(f, failed));
        QVERIFY2(f.unchecked.first().reason.startsWith(QStringLiteral("its properties could not be read: ")),
                 qPrintable(f.unchecked.first().reason));
        QCOMPARE(lib.keywordsOf(failed), QStringList{});
        QVERIFY(f.failedChanges.isEmpty());

        QList<qint64> expectImage{nullPath, gone, nullNameMasterGone, nullName, absentPath};
        QList<qint64> expectMaster{masterGone, nullNameMasterGone, nullMaster};
        std::sort(expectImage.begin(), expectImage.end());
        std::sort(expectMaster.begin(), expectMaster.end());
        QCOMPARE(idsAt(f, f.missingImage), expectImage);
        QCOMPARE(idsAt(f, f.missingMaster), expectMaster);
        QVERIFY(std::is_sorted(f.missingImage.begin(), f.missingImage.end()));

        // Master-missing photos are tagged in both modes and never removed.
        for (qint64 p : {masterGone, nullMaster})
            QCOMPARE(lib.keywordsOf(p), QStringList{kMasterMissing});
        QCOMPARE(lib.keywordsOf(fine), QStringList{});

        const QList<qint64> trash = lib.photosOfAlbum(lib.trashAlbumId());
        const QList<qint64> library = lib.photosOfAlbum(lib.libraryAlbumId());
        if (!deleteMode) {
            QVERIFY(trash.isEmpty());
            QCOMPARE(library.size(), 9);
            for (qint64 p : {nullPath, gone, nullName, absentPath})
                QCOMPARE(lib.keywordsOf(p), QStringList{kMissing});
            QCOMPARE(lib.keywordsOf(nullNameMasterGone), (QStringList{kMasterMissing, kMissing}));
            QVERIFY(f.removed.isEmpty());
        } else {
            // Only the photo whose named image file is verifiably gone leaves the library.
            QCOMPARE(trash, QList<qint64>{gone});
            QVERIFY(!library.contains(gone));
            QCOMPARE(library.size(), 8);
            QCOMPARE(idsAt(f, f.removed), QList<qint64>{gone});
            QCOMPARE(lib.keywordsOf(gone), QStringList{});
            // The others of the missing-image set stay, tagged, and the log says why each stayed.
            for (qint64 p : {nullPath, nullName, absentPath})
                QCOMPARE(lib.keywordsOf(p), QStringList{kMissing});
            QCOMPARE(lib.keywordsOf(nullNameMasterGone), (QStringList{kMasterMissing, kMissing}));
            const QStringList why = log.linesStartingWith(QStringLiteral("Not removing photo "));
            QCOMPARE(why.size(), 4);
            for (qint64 p : {nullPath, nullNameMasterGone, nullName, absentPath})
                QVERIFY2(why.filter(QStringLiteral("Not removing photo %1 at position %2:")
                                        .arg(p)
                                        .arg(positionOf(f, p)))
                                 .size() == 1,
                         qPrintable(why.join(u'\n')));
        }

        // Eight issues, each one confirmed: a photo in both sets counts twice.
        QCOMPARE(f.issueCount(), 8);
        QCOMPARE(f.changeCount(), 8);
        const QList<DelegateCall> alerts = d.calls(QStringLiteral("showAlert"));
        QCOMPARE(alerts.size(), 1);
        QCOMPARE(alerts.first().title, QStringLiteral("Scan Incomplete"));
        QCOMPARE(alerts.first().value.toString(),
                 QStringLiteral(
                     "Vup could not check 1 photo(s) and could not change 0 photo(s); they were left as "
                     "they were and are listed in the report.\n\nVup discovered 8 issues that were "
                     "tagged or deleted to make everything happy again.  You can search for the "
                     "keyword \"Vup Missing\" or \"Vup Master Missing\" within iPhoto to see these "
                     "images."));

        // Counted once the files were looked at: the seven photos of the two sets and the one
        // whose properties failed, in one line.
        QCOMPARE(log.linesStartingWith(QStringLiteral("Found ")),
                 QStringList{QStringLiteral("Found 8 images with issues")});

        const QList<DesktopServices::Notification> notes = services->notifications().mid(notificationsBefore);
        QCOMPARE(notes.size(), 1);
        QCOMPARE(notes.first().summary, QStringLiteral("Scan Incomplete"));
        QCOMPARE(notes.first().body, QStringLiteral("Vup has finished processing."));
        QVERIFY(notes.first().hints.contains(QStringLiteral("sound-name")));
        QCOMPARE(notes.first().hints.value(QStringLiteral("desktop-entry")).toString(),
                 QStringLiteral("org.vup.Vup"));
        QCOMPARE(notes.first().appIcon, QStringLiteral("org.vup.Vup"));
    }

    // A file behind a folder the scan may not search is neither there nor gone: its photo is unchecked,
    // never tagged or removed, even by a run that removes; a photo whose image is verifiably gone is
    // removed even when its master cannot be looked at.
    void photosItCannotLookAtAreUnchecked() {
        TestLibrary lib;
        QVERIFY(lib.isValid());
        const QString lockedImage = lib.writeFile(QStringLiteral("locked/kept.jpg"));
        const QString lockedMaster = lib.writeFile(QStringLiteral("locked/master.jpg"));
        const qint64 imageLocked = lib.addPhoto(lockedImage);
        const qint64 masterLocked =
            lib.addPhoto(lib.writeFile(QStringLiteral("open/edited.jpg")), lockedMaster);
        const qint64 gone = lib.addPhoto(lib.missingPath(QStringLiteral("open/gone.jpg")));
        const qint64 goneMasterLocked = lib.addPhoto(lib.missingPath(QStringLiteral("open/gone2.jpg")),
                                                     lib.missingPath(QStringLiteral("locked/m2.jpg")));
        const qint64 fine = lib.addPhoto(lib.writeFile(QStringLiteral("open/fine.jpg")));
        QVERIFY(imageLocked && masterLocked && gone && goneMasterLocked && fine);
        QVERIFY(lib.addIssueKeywords());
        const QByteArray lockedFolder = QFile::encodeName(QFileInfo(lockedImage).absolutePath());
        const QByteArray top = QFile::encodeName(QFileInfo(lockedFolder).absolutePath());
        QVERIFY(::chmod(top.constData(), 0755) == 0);
        QVERIFY(::chmod(lockedFolder.constData(), 0700) == 0);
        QVERIFY(lib.serve());

        VupMode vup;
        RecordingDelegate d;
        d.deleteOption = true;
        {
            AsNobody nobody;
            if (!nobody.isActive() || ::access(lockedImage.toLocal8Bit().constData(), F_OK) == 0)
                QSKIP("no user here that the kernel refuses");
            QVERIFY(runScan(vup, d));
        }
        const ScanFindings f = vup.lastRun();
        QCOMPARE(f.outcome, ScanFindings::Outcome::Incomplete);
        QCOMPARE(f.unchecked.size(), 2);
        QCOMPARE(f.unchecked.at(0).id, imageLocked);
        QVERIFY2(f.unchecked.at(0).reason.contains(QStringLiteral("image file ") + lockedImage),
                 qPrintable(f.unchecked.at(0).reason));
        QCOMPARE(f.unchecked.at(1).id, masterLocked);
        QVERIFY2(f.unchecked.at(1).reason.contains(QStringLiteral("master file ") + lockedMaster),
                 qPrintable(f.unchecked.at(1).reason));
        QCOMPARE(idsAt(f, f.missingImage), (QList<qint64>{gone, goneMasterLocked}));
        QVERIFY(f.missingMaster.isEmpty());
        for (const qint64 p : {imageLocked, masterLocked}) {
            QCOMPARE(lib.keywordsOf(p), QStringList{});
            QVERIFY(lib.photosOfAlbum(lib.libraryAlbumId()).contains(p));
        }
        QCOMPARE(idsAt(f, f.removed), (QList<qint64>{gone, goneMasterLocked}));
        QCOMPARE(lib.photosOfAlbum(lib.trashAlbumId()), (QList<qint64>{gone, goneMasterLocked}));
        const QList<DelegateCall> alerts = d.calls(QStringLiteral("showAlert"));
        QCOMPARE(alerts.size(), 1);
        QCOMPARE(alerts.first().title, QStringLiteral("Scan Incomplete"));
        QVERIFY(alerts.first().value.toString().startsWith(
            QStringLiteral("Vup could not check 2 photo(s) and could not change 0 photo(s);")));
    }

    // The order, thread and wait of every window operation of a library run with zombie recovery on.
    void delegateCallsOfLibraryRun() {
        TestLibrary lib;
        for (int i = 0; i < 3; ++i)
            QVERIFY(lib.addPhoto(lib.writeFile(QStringLiteral("p%1.jpg").arg(i))));
        QVERIFY(lib.addIssueKeywords()); // a tagging run checks them first
        QVERIFY(lib.serve());
        VupMode vup;
        RecordingDelegate d;
        d.zombiesOption = true;
        QVERIFY(runScan(vup, d));
        QCOMPARE(vup.lastRun().outcome, ScanFindings::Outcome::Completed);

        struct Expected {
            const char* name;
            QVariant value;
            bool waited;
        };
        const QString loading = QStringLiteral("Loading Data");
        const Expected expected[] = {
            {"cfgProgressBarIndeterminate", {}, false},
            {"setStatusLabel", loading, false},
            {"cfgProgressBarDeterminate", {}, true},
            {"cfgProgressBarMaxValue", 3.0, true},
            {"cfgProgressBarCurrentValue", 0.0, false},
            {"cfgProgressBarCurrentValue", 1.0, false},
            {"cfgProgressBarCurrentValue", 2.0, false},
            {"cfgProgressBarCurrentValue", 3.0, false},
            {"stopAnimation", {}, false},
            {"setStatusLabel", QStringLiteral("Detecting Zombies"), true},
            {"cfgProgressBarMaxValue", 3.0, true},
            {"setStatusLabel", QStringLiteral("Processing Images"), false},
            {"cfgProgressBarCurrentValue", 1.0, false},
            {"cfgProgressBarCurrentValue", 2.0, false},
            {"cfgProgressBarCurrentValue", 3.0, false},
            // Cancel can no longer act once the tagging begins; the window hears it first.
            {"setCancellable", false, true},
            {"setStatusLabel", QStringLiteral("Tagging Items"), false},
            {"setStatusLabel", QStringLiteral("Processing Complete"), true},
            // The summary comes before the run returns to idle.
            {"showAlert",
             QStringLiteral(
                 "Congratulations, your iPhoto library is problem free and happy.  0 issues found."),
             false},
            {"processingComplete", {}, true},
            {"stopAnimation", {}, true},
        };
        const QList<DelegateCall> window = windowCalls(d);
        QCOMPARE(window.size(), qsizetype(std::size(expected)));
        for (qsizetype i = 0; i < window.size(); ++i) {
            const DelegateCall& c = window.at(i);
            const Expected& e = expected[i];
            QVERIFY2(c.name == QLatin1StringView(e.name),
                     qPrintable(QStringLiteral("call %1: %2 instead of %3").arg(i).arg(c.name, e.name)));
            if (e.value.isValid())
                QCOMPARE(c.value, e.value);
            QVERIFY2(c.waited.has_value() && *c.waited == e.waited,
                     qPrintable(QStringLiteral("call %1 (%2) waited=%3")
                                    .arg(i)
                                    .arg(c.name)
                                    .arg(c.waited.value_or(false))));
        }
        // Everything but the cancel flag reached the delegate on the main thread; the flag was read
        // from the scan thread.
        QVERIFY(d.count(QStringLiteral("cancelled")) > 0);
        for (const DelegateCall& c : d.calls())
            QVERIFY2(c.onMainThread != (c.name == QLatin1StringView("cancelled")), qPrintable(c.name));
    }

    void refusals_data() {
        QTest::addColumn<bool>("selection");
        QTest::addColumn<int>("photos");
        QTest::addColumn<bool>("albumAndPhotos"); // selected: an album, then every photo
        QTest::newRow("empty library") << false << 0 << false;
        QTest::newRow("empty selection") << true << 2 << false;
        QTest::newRow("album with photos") << true << 2 << true;
    }

    // Nothing suitable to process: refused before loading, cleanup first, then the alert.
    void refusals() {
        QFETCH(bool, selection);
        QFETCH(int, photos);
        QFETCH(bool, albumAndPhotos);
        TestLibrary lib;
        QList<QDBusObjectPath> items;
        for (int i = 0; i < photos; ++i)
            items.append(QDBusObjectPath(
                QStringLiteral("/photos/%1")
                    .arg(lib.addPhoto(lib.missingPath(QStringLiteral("gone%1.jpg").arg(i))))));
        const qint64 album = albumAndPhotos ? lib.createAlbum(QStringLiteral("Holiday")) : 0;
        QVERIFY(lib.serve());
        if (albumAndPhotos) {
            // A mixed selection, the album first, made through the service's control face.
            QVERIFY(album);
            items.prepend(QDBusObjectPath(QStringLiteral("/albums/%1").arg(album)));
            QDBusMessage m = QDBusMessage::createMethodCall(
                QStringLiteral("com.apple.iPhoto"), QStringLiteral("/control"),
                QStringLiteral("com.apple.iPhoto.Control"), QStringLiteral("SelectItems"));
            qDBusRegisterMetaType<QList<QDBusObjectPath>>();
            m.setArguments({QVariant::fromValue(items)});
            QCOMPARE(QDBusConnection::sessionBus().call(m).type(), QDBusMessage::ReplyMessage);
        }

        const qsizetype notificationsBefore = services->notifications().size();
        VupMode vup;
        RecordingDelegate d;
        d.selectionOption = selection;
        d.deleteOption = true;
        QVERIFY(runScan(vup, d));
        QCOMPARE(vup.lastRun().outcome, ScanFindings::Outcome::NothingToProcess);
        const qsizetype complete = d.indexOf(QStringLiteral("processingComplete"));
        const qsizetype stop = d.indexOf(QStringLiteral("stopAnimation"));
        const qsizetype alert = d.indexOf(QStringLiteral("showAlert"));
        QVERIFY(complete >= 0 && complete < stop && stop < alert);
        QCOMPARE(d.count(QStringLiteral("processingComplete")), 1);
        QCOMPARE(d.calls().at(alert).title, QStringLiteral("Unable To Process"));
        QCOMPARE(d.calls().at(alert).value.toString(),
                 QStringLiteral("You need to select the photos you want me to process"));
        QCOMPARE(d.indexOf(QStringLiteral("setStatusLabel"), QStringLiteral("Loading Data")), -1);
        QVERIFY(d.indexOf(QStringLiteral("setStatusLabel"), QStringLiteral("Scan Refused")) >= 0);
        // Nothing was touched: no photo left the library, however the selection was made up.
        QVERIFY(lib.photosOfAlbum(lib.trashAlbumId()).isEmpty());
        QCOMPARE(services->notifications().size(), notificationsBefore);
    }

    void runEndsBeforeItsChanges_data() {
        QTest::addColumn<bool>("deleteMode");
        QTest::addColumn<bool>("zombies");
        QTest::addColumn<QString>("when");   // the window operation at which the user acts
        QTest::addColumn<QVariant>("value"); // ... with this value, when given
        QTest::addColumn<bool>("kill");      // kill the application instead of pressing Cancel
        QTest::newRow("cancel while loading")
            << false << true << QStringLiteral("cfgProgressBarDeterminate") << QVariant() << false;
        QTest::newRow("cancel in the zombie import wait")
            << false << true << QStringLiteral("setStatusLabel")
            << QVariant(QStringLiteral("Zombies Detected")) << false;
        QTest::newRow("cancel just before tagging")
            << false << false << QStringLiteral("setCancellable") << QVariant(false) << false;
        QTest::newRow("application killed as removals begin")
            << true << false << QStringLiteral("setCancellable") << QVariant(false) << true;
    }

    // A run stopped before its changes changes nothing: no keyword, no removal, every zombie back
    // where it was, no notification. A cancel ends in "Scan Cancelled" without an alert; an
    // application gone ends in "Unable To Continue".
    void runEndsBeforeItsChanges() {
        QFETCH(bool, deleteMode);
        QFETCH(bool, zombies);
        QFETCH(QString, when);
        QFETCH(QVariant, value);
        QFETCH(bool, kill);
        TestLibrary lib;
        QVERIFY(lib.demo(4, 2, 1, 0));
        // Zombies the application refuses to import: the slow import keeps it busy until the cancel.
        for (const char* name : {"Masters/z1.jpg", "Masters/old/z2.jpg"})
            QVERIFY(lib.copyIntoLibrary(QStringLiteral(VUP_TEST_DATA_DIR "/not-an-image.jpg"),
                                        QString::fromLatin1(name)));
        QVERIFY(lib.fault({QStringLiteral("--import-delay"), QStringLiteral("60000")}));
        QVERIFY(lib.addIssueKeywords());
        const QStringList mastersBefore = lib.filesUnder(QStringLiteral("Masters"));
        QVERIFY(lib.serve());

        const qsizetype notificationsBefore = services->notifications().size();
        VupMode vup;
        RecordingDelegate d;
        d.deleteOption = deleteMode;
        d.zombiesOption = zombies;
        const qint64 server = lib.pid();
        std::atomic<bool> acted{false};
        d.onCall = [&](const DelegateCall& call) {
            if (call.name != when || (value.isValid() && call.value != value) || acted.exchange(true))
                return;
            if (kill)
                ::kill(pid_t(server), SIGKILL);
            else
                d.cancelRequested = true;
        };
        QElapsedTimer timer;
        timer.start();
        QVERIFY(runScan(vup, d));
        QVERIFY2(timer.elapsed() < 30000, "the run waited for the slow import");
        const ScanFindings f = vup.lastRun();
        lib.stop();

        QCOMPARE(f.outcome, kill ? ScanFindings::Outcome::Failed : ScanFindings::Outcome::Cancelled);
        QCOMPARE(d.count(QStringLiteral("processingComplete")), 1);
        const QList<DelegateCall> alerts = d.calls(QStringLiteral("showAlert"));
        const bool saidCancelled =
            d.indexOf(QStringLiteral("setStatusLabel"), QStringLiteral("Scan Cancelled")) >= 0;
        if (kill) {
            QCOMPARE(alerts.size(), 1);
            QCOMPARE(alerts.first().title, QStringLiteral("Unable To Continue"));
            QCOMPARE(
                alerts.first().value.toString(),
                QStringLiteral("photoapp stopped responding while Vup was working. Nothing more was changed. "
                               "Run the scan again when photoapp is running."));
            QVERIFY(!saidCancelled);
        } else {
            QVERIFY(alerts.isEmpty());
            QVERIFY(saidCancelled);
        }
        QCOMPARE(services->notifications().size(), notificationsBefore);
        QVERIFY(f.removed.isEmpty() && f.taggedMissing.isEmpty() && f.taggedMasterMissing.isEmpty());
        for (const QJsonValue& p : lib.dump().value(QStringLiteral("photos")).toArray())
            QVERIFY(p.toObject().value(QStringLiteral("keywords")).toArray().isEmpty());
        QVERIFY(lib.photosOfAlbum(lib.trashAlbumId()).isEmpty());
        QCOMPARE(lib.filesUnder(QStringLiteral("Masters")), mastersBefore);
    }

    // An error thrown in the middle of a run still returns the controller to idle exactly once, and
    // the engine serves the next run.
    void failureMidRunStillCleansUpOnce() {
        TestLibrary lib;
        QVERIFY(lib.addPhoto(lib.writeFile(QStringLiteral("fine.jpg"))));
        QVERIFY(lib.addIssueKeywords()); // a tagging run checks them first
        QVERIFY(lib.serve());
        VupMode vup;
        {
            RecordingDelegate d;
            // Thrown on the scan thread as it reads the cancel flag, once loading has begun.
            std::atomic<bool> loading{false};
            d.onCall = [&loading](const DelegateCall& call) {
                if (call.name == QLatin1StringView("cfgProgressBarDeterminate"))
                    loading = true;
                else if (call.name == QLatin1StringView("cancelled") && loading)
                    throw std::runtime_error("lists out of step");
            };
            QVERIFY(runScan(vup, d));
            QCOMPARE(vup.lastRun().outcome, ScanFindings::Outcome::Failed);
            QCOMPARE(d.count(QStringLiteral("processingComplete")), 1);
            const qsizetype alert = d.indexOf(QStringLiteral("showAlert"));
            QVERIFY(alert >= 0 && alert < d.indexOf(QStringLiteral("processingComplete")));
            QCOMPARE(d.calls().at(alert).title, QStringLiteral("Unable To Continue"));
            QVERIFY(d.calls().at(alert).value.toString().contains(QStringLiteral("lists out of step")));
            // The last window operation is the stop of the cleanup.
            QCOMPARE(windowCalls(d).last().name, QStringLiteral("stopAnimation"));
        }
        RecordingDelegate again;
        QVERIFY(runScan(vup, again));
        QCOMPARE(vup.lastRun().outcome, ScanFindings::Outcome::Completed);
        QCOMPARE(again.count(QStringLiteral("processingComplete")), 1);
        QCOMPARE(again.calls(QStringLiteral("showAlert")).first().title, QStringLiteral("Success"));
    }

    // A selection run checks the selected photos only, says so in its own words when they are
    // fine, and counts no album as a photo.
    void selectionRuns() {
        TestLibrary lib;
        const qint64 fine = lib.addPhoto(lib.writeFile(QStringLiteral("fine.jpg")));
        const qint64 gone = lib.addPhoto(lib.missingPath(QStringLiteral("gone.jpg")));
        const qint64 album = lib.createAlbum(QStringLiteral("Trip"));
        QVERIFY(fine && gone && album);
        QVERIFY(lib.selectPhotos({fine}));
        QVERIFY(lib.addIssueKeywords()); // a tagging run checks them first
        QVERIFY(lib.serve());
        VupMode vup;
        QCOMPARE(vup.libraryCount(), 2);
        QCOMPARE(vup.selectionCount(), 1);
        RecordingDelegate d;
        d.selectionOption = true;
        QVERIFY(runScan(vup, d));
        QCOMPARE(d.calls(QStringLiteral("showAlert")).value(0).value.toString(),
                 QStringLiteral(
                     "Congratulations, your selected images are problem free and happy.  0 issues found."));
        QCOMPARE(lib.keywordsOf(gone), QStringList{});
        QVERIFY(lib.selectAlbum(album));
        QCOMPARE(vup.selectionCount(), 0);
    }
};

VUP_TEST_MAIN_CORE(tst_ScanRun)
#include "tst_scanrun.moc"
