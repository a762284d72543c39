/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "bridge/iPhotoBridge.h"
#include "bridge/iPhotoTypes.h"
#include "scan/engine/ScanDoor.h"
#include "scan/engine/VupMode.h"
#include "scan/report/ScanFindings.h"
#include "scan/report/ScanFindingsJson.h"
#include "scan/report/ZombieSummary.h"
#include "scan/zombies/PathSet.h"
#include "scan/zombies/RecoveryJournal.h"
#include "scan/zombies/RecoveryResume.h"
#include "scan/zombies/SafeMove.h"
#include "scan/zombies/ZombieDetector.h"
#include "scan/zombies/ZombieRecovery.h"
#include "tests/support/AsNobody.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/FileTree.h"
#include "tests/support/LogCapture.h"
#include "tests/support/PhotoAppProcess.h"
#include "tests/support/RecordingDelegate.h"
#include "tests/support/TestLibrary.h"
#include "tests/support/TestMain.h"
#include "wire/PhotoAppWire.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QScopeGuard>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <csignal>
#include <sys/stat.h>

namespace {

QVariant entry(const QByteArray& path) {
    return QVariant(QFile::decodeName(path));
}

QSet<QByteArray> asSet(const QList<QByteArray>& list) {
    return QSet<QByteArray>(list.cbegin(), list.cend());
}

bool logged(const LogCapture& log, const QString& part) {
    return log.lines().join(QLatin1Char('\n')).contains(part);
}

std::shared_ptr<iPhotoApplication> application() {
    return iPhotoApplication::applicationWithBundleIdentifier(QString::fromLatin1(PhotoAppWire::kService));
}

// Every master path the running application names, in library order, as a scan loads them.
TextColumn masterPathsOf() {
    TextColumn out;
    for (const iPhotoPhoto& photo : application()->photoLibraryAlbum().photos())
        out.append(photo.properties().value(QString::fromLatin1(PhotoAppWire::kOriginalPath)));
    return out;
}

QList<iPhotoAlbum> albumsNamed(const QString& name) {
    QList<iPhotoAlbum> out;
    for (const iPhotoAlbum& album : application()->albums())
        if (album.name() == name)
            out.append(album);
    return out;
}

QList<iPhotoAlbum> zombieAlbums() {
    QList<iPhotoAlbum> out;
    for (const iPhotoAlbum& album : application()->albums())
        if (album.name().startsWith(QStringLiteral("Vup Zombies ")))
            out.append(album);
    return out;
}

qint64 photosInZombieAlbums() {
    qint64 n = 0;
    for (const iPhotoAlbum& album : zombieAlbums())
        n += album.photoCount();
    return n;
}

const QDateTime kRunStart(QDate(2014, 2, 3), QTime(9, 15, 0));
const QString kAlbumName = QStringLiteral("Vup Zombies 2014-02-03-091500");
const QStringList kScanArgs{QStringLiteral("scan"), QStringLiteral("--library"),
                            QStringLiteral("--recover-zombies"), QStringLiteral("--yes")};
} // namespace

class tst_Zombies : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> temp;
    QByteArray root;
    QByteArray library;
    QByteArray masters;
    QByteArray state;

    QByteArray recoveries() const { return state + "/vup/recoveries"; }

    // What recoveries left behind: open journals and parked files (finished journals excluded).
    QList<QByteArray> leftInRecoveries() const {
        QList<QByteArray> left = FileTree::files(recoveries());
        left.removeIf([](const QByteArray& f) { return f.endsWith(".done"); });
        return left;
    }

    // The demo library of a case, not served yet. Its keywords are known: a scan then imports
    // nothing but the zombies.
    std::unique_ptr<TestLibrary> lib;
    bool makeLibrary(int photos, int missingImages, int missingMasters, int zombies) {
        lib = std::make_unique<TestLibrary>(QFile::decodeName(library));
        return lib->demo(photos, missingImages, missingMasters, zombies) && lib->addIssueKeywords();
    }

    // A served demo library with two zombies in one folder, plus same-named zombies in two folders.
    void makeLibraryWithZombies() {
        QVERIFY(makeLibrary(4, 0, 0, 2));
        const QByteArray jpeg = FileTree::read(firstZombieOf(library));
        QVERIFY(!jpeg.isEmpty());
        QVERIFY(FileTree::write(masters + "/2020/x/Same.jpg", jpeg));
        QVERIFY(FileTree::write(masters + "/2020/y/Same.jpg", jpeg + QByteArray(7, '\0')));
        QVERIFY(lib->serve());
    }

    static QByteArray firstZombieOf(const QByteArray& lib) {
        for (const QByteArray& f : FileTree::files(lib + "/Masters"))
            if (f.contains("Zombie_"))
                return lib + "/Masters/" + f;
        return {};
    }

    // What a later run says when it finishes the recoveries left unfinished.
    static QString finishInterrupted() {
        QString told;
        return runOnScanThread([&] { told = RecoveryResume::finishInterrupted(application(), false, {}); })
                   ? told
                   : QString();
    }

    // Makes every import of the served library take at least `ms`.
    bool slowImports(int ms) { return lib->fault({QStringLiteral("--import-delay"), QString::number(ms)}); }

    struct Run {
        ZombieDetection found;
        ZombieRecoveryReport report;
    };

    // Detection and recovery on a scan thread, as a run makes them: the library folder from the
    // application, files changed since the photo list was taken left alone. `first` is moved to
    // the head of the zombie list, in its order; `afterList` runs once the list is taken.
    std::chrono::milliseconds cancelImportWait = ZombieRecovery::kCancelImportWait;

    Run detectAndRecover(RecordingDelegate& delegate, const QList<QByteArray>& first = {},
                         const std::function<void()>& betweenSteps = {},
                         const std::function<void()>& afterList = {}) {
        Run run;
        auto app = application();
        // A file written a moment ago may carry a time finer than the coarse clock shows yet:
        // the list is taken once that clock has passed it, as it has for any file of a real run.
        timespec now{}, listed{};
        ::clock_gettime(CLOCK_REALTIME, &now);
        do {
            QThread::msleep(1);
            ::clock_gettime(CLOCK_REALTIME_COARSE, &listed);
        } while (listed.tv_sec < now.tv_sec ||
                 (listed.tv_sec == now.tv_sec && listed.tv_nsec <= now.tv_nsec));
        const TextColumn masterPaths = masterPathsOf();
        const QString libraryFolder = app->libraryPath();
        if (afterList)
            afterList();
        const bool finished = runOnScanThread([&] {
            ScanDoor door(&delegate);
            run.found = ZombieDetector::detectZombies(masterPaths, door.zombieCalls(), libraryFolder);
            for (auto it = first.crbegin(); it != first.crend(); ++it)
                if (run.found.zombies.removeAll(*it) > 0)
                    run.found.zombies.prepend(*it);
            if (betweenSteps)
                betweenSteps();
            ZombieRecovery recovery(app, door.zombieCalls());
            recovery.setClock([] { return kRunStart; });
            recovery.setPollInterval(std::chrono::milliseconds(50));
            recovery.setPhotoListTime(listed);
            recovery.setCancelImportWait(cancelImportWait);
            run.report = recovery.recoverZombies(run.found);
        });
        if (!finished)
            qFatal("zombie recovery did not finish");
        return run;
    }

private slots:
    void init() {
        temp = std::make_unique<QTemporaryDir>();
        QVERIFY(temp->isValid());
        root = QFile::encodeName(temp->path());
        ::chmod(root.constData(), 0755); // the permission cases walk it as another user
        library = root + "/Pictures/Family.photolibrary";
        masters = library + "/Masters";
        // Every case parks and journals in a state folder of its own.
        state = root + "/state";
        qputenv("XDG_STATE_HOME", state);
        cancelImportWait = ZombieRecovery::kCancelImportWait;
    }
    void cleanup() {
        lib.reset();
        FileTree::removeAll(root);
    }

    // ---- detection ----

    void walkAndDifference() {
        const QByteArray referenced = masters + "/2026/a/IMG_1.jpg";
        QVERIFY(FileTree::write(referenced, "one"));
        QVERIFY(FileTree::write(masters + "/2026/a/IMG_2.jpg", "two"));
        QVERIFY(FileTree::write(masters + "/2026/b/IMG_2.jpg", "two again"));
        QVERIFY(FileTree::write(masters + "/.hidden.jpg", "hidden"));
        QVERIFY(FileTree::write(masters + "/.hiddenFolder/inside.jpg", "hidden too"));
        QVERIFY(FileTree::write(masters + "/2026/Show.bundle/Contents/inner.jpg", "in a package"));
        QVERIFY(FileTree::write(masters + "/2026/c/Case.jpg", "case"));
        QVERIFY(::mkdir((masters + "/empty").constData(), 0755) == 0);
        QVERIFY(::symlink("a/IMG_1.jpg", (masters + "/2026/link.jpg").constData()) == 0);
        QVERIFY(::symlink("a", (masters + "/2026/folderLink").constData()) == 0);
        // What a photo reaches, through a link or by another spelling, is no zombie; a link no
        // photo names is left alone.
        QVERIFY(FileTree::write(masters + "/a/IMG_1.jpg", "1"));
        QVERIFY(FileTree::write(masters + "/a/IMG_2.jpg", "2"));
        QVERIFY(FileTree::write(masters + "/a/IMG_3.jpg", "3"));
        QVERIFY(FileTree::write(masters + "/a/IMG_4.jpg", "4"));
        QVERIFY(FileTree::write(masters + "/b/real.jpg", "reached by a link in Masters"));
        QVERIFY(FileTree::write(masters + "/b/real2.jpg", "reached by a link outside"));
        QVERIFY(::symlink("a", (masters + "/alias").constData()) == 0);
        QVERIFY(::link((masters + "/a/IMG_1.jpg").constData(), (masters + "/a/hard.jpg").constData()) == 0);
        QVERIFY(::symlink("IMG_1.jpg", (masters + "/a/soft.jpg").constData()) == 0);
        QVERIFY(::symlink("../b/real.jpg", (masters + "/a/link.jpg").constData()) == 0);
        QVERIFY(::symlink(masters + "/b/real2.jpg", (root + "/outside-link.jpg").constData()) == 0);

        RecordingDelegate delegate;
        const TextColumn entries{entry(referenced),
                                 entry(referenced),
                                 entry(masters + "/2026/c/case.jpg"),
                                 QStringLiteral("/srv/elsewhere/outside.jpg"),
                                 entry(masters + "/a/IMG_1.jpg"),
                                 entry(masters + "/alias/IMG_2.jpg"),
                                 entry(masters + "/a/../a/IMG_3.jpg"),
                                 entry(masters + "//a/IMG_4.jpg"),
                                 entry(masters + "/a/link.jpg"),
                                 entry(root + "/outside-link.jpg")};
        const ZombieDetection found =
            ZombieDetector::detectZombies(entries, ScanDoor(&delegate).zombieCalls());

        const QSet<QByteArray> expected{masters + "/2026/a/IMG_2.jpg", masters + "/2026/b/IMG_2.jpg",
                                        masters + "/2026/Show.bundle/Contents/inner.jpg",
                                        masters + "/2026/c/Case.jpg"};
        QCOMPARE(found.zombies.size(), expected.size()); // each exactly once
        QCOMPARE(asSet(found.zombies), expected);
        // Links are found but are no zombies: they are left alone.
        QCOMPARE(asSet(found.links),
                 (QSet<QByteArray>{masters + "/2026/link.jpg", masters + "/2026/folderLink",
                                   masters + "/a/soft.jpg"}));
        QCOMPARE(found.masters, masters);
        QVERIFY(found.skipped.isEmpty());
        QVERIFY(delegate.calls(QStringLiteral("setRecoverZombies")).isEmpty());
        QVERIFY(delegate.calls(QStringLiteral("askForReadAccess")).isEmpty());

        // A cancelled run finds nothing to recover.
        delegate.cancelRequested = true;
        const ZombieDetection cancelled =
            ZombieDetector::detectZombies(entries, ScanDoor(&delegate).zombieCalls());
        QVERIFY(cancelled.cancelled);
        QVERIFY(cancelled.zombies.isEmpty());
    }

    void noLibraryToWalk_data() {
        QTest::addColumn<QVariantList>("entries");
        QTest::addColumn<bool>("optionCleared"); // no library named: recovery is turned off
        QTest::newRow("empty list") << QVariantList{} << true;
        QTest::newRow("outside any library")
            << QVariantList{QStringLiteral("/srv/a.jpg"),
                            QStringLiteral("/srv/Lib.PHOTOLIBRARY/Masters/b.jpg")}
            << true;
        // No Masters folder: nothing found, the option left alone, nothing said or asked.
        QTest::newRow("no Masters folder")
            << QVariantList{QStringLiteral("/srv/Bare.photolibrary/Masters/x.jpg")} << false;
    }
    void noLibraryToWalk() {
        QFETCH(QVariantList, entries);
        QFETCH(bool, optionCleared);
        QVERIFY(FileTree::write(masters + "/zombie.jpg", "z"));
        RecordingDelegate delegate;
        delegate.zombiesOption = true;
        const ZombieDetection found =
            ZombieDetector::detectZombies(TextColumn(entries), ScanDoor(&delegate).zombieCalls());
        QVERIFY(found.zombies.isEmpty());
        QVERIFY(found.skipped.isEmpty() || optionCleared);
        QCOMPARE(delegate.count(QStringLiteral("setRecoverZombies")), optionCleared ? 1 : 0);
        QCOMPARE(delegate.recoverZombies(), !optionCleared);
        QVERIFY(delegate.calls(QStringLiteral("askForReadAccess")).isEmpty());
    }

    // With a hole in the reference list, a live master could pass for a zombie: the user is told.
    void refusesIncompleteOrMixedReferences_data() {
        QTest::addColumn<QVariant>("odd");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QString>("language"); // empty: the source language
        QTest::addColumn<QString>("shown");    // what the alert says; empty: the reason in English
        QTest::newRow("null marker") << nullMarker() << QStringLiteral("1 of 2 photos have no master path")
                                     << QString() << QString();
        QTest::newRow("empty placeholder")
            << QVariant(QString()) << QStringLiteral("1 of 2 photos") << QString() << QString();
        QTest::newRow("a value that is no text")
            << QVariant(42) << QStringLiteral("1 of 2 photos have no master path") << QString() << QString();
        QTest::newRow("another library")
            << QVariant(QStringLiteral("/Volumes/Other.photolibrary/Masters/x.jpg"))
            << QStringLiteral("names files outside this library") << QString() << QString();
        // The log and the report keep the English; the alert speaks the user's language.
        QTest::newRow("null marker, German")
            << nullMarker() << QStringLiteral("1 of 2 photos have no master path") << QStringLiteral("de")
            << QStringLiteral(
                   "Die Zombie-Suche wurde übersprungen: Bei 1 von 2 Fotos fehlt der Originalpfad");
    }
    void refusesIncompleteOrMixedReferences() {
        QFETCH(QVariant, odd);
        QFETCH(QString, reason);
        QFETCH(QString, language);
        QFETCH(QString, shown);
        QTranslator translator;
        QVERIFY(translateInto(translator, language));
        QVERIFY(FileTree::write(masters + "/live.jpg", "l"));
        QVERIFY(FileTree::write(masters + "/zombie.jpg", "z"));
        RecordingDelegate delegate;
        LogCapture log;
        // The odd entry first: a null marker must not stop the search for the library.
        const ZombieDetection found = ZombieDetector::detectZombies({odd, entry(masters + "/live.jpg")},
                                                                    ScanDoor(&delegate).zombieCalls());
        QVERIFY(found.zombies.isEmpty());
        QVERIFY2(found.skipped.contains(reason), qPrintable(found.skipped));
        QVERIFY(delegate.calls(QStringLiteral("setRecoverZombies")).isEmpty());
        QVERIFY(logged(log, QStringLiteral("Zombie detection skipped: ") + found.skipped));
        ScanFindings findings;
        findings.zombieDetectionSkipped = found.skipped;
        const QString summary = zombieSummary(findings);
        QVERIFY2(summary.contains(shown.isEmpty()
                                      ? QStringLiteral("Zombie detection was skipped: ") + found.skipped
                                      : shown),
                 qPrintable(summary));
        QVERIFY(!zombieStageComplete(findings));
    }

    // A folder below Masters the scan may not read is passed over; an unreadable library is asked
    // for once, on the main thread, and walked once granted.
    void unreadableFolders() {
        QVERIFY(FileTree::write(masters + "/locked/inside.jpg", "i"));
        QVERIFY(FileTree::write(masters + "/open/zombie.jpg", "z"));
        QVERIFY(::chmod((masters + "/locked").constData(), 0700) == 0);
        QVERIFY(::chmod(library.constData(), 0700) == 0);
        RecordingDelegate delegate;
        delegate.on(QStringLiteral("askForReadAccess"), [this](const DelegateCall&) {
            AsNobody::asRoot([this] { ::chmod(library.constData(), 0755); });
        });
        QList<QByteArray> zombies;
        {
            AsNobody nobody;
            if (!nobody.isActive() || ::access(library.constData(), R_OK) == 0)
                QSKIP("no user here that the kernel refuses");
            QVERIFY(runOnScanThread([&] {
                zombies = ZombieDetector::detectZombies({entry(masters + "/open/ref.jpg")},
                                                        ScanDoor(&delegate).zombieCalls())
                              .zombies;
            }));
        }
        const auto prompts = delegate.calls(QStringLiteral("askForReadAccess"));
        QCOMPARE(prompts.size(), 1);
        QCOMPARE(prompts[0].text(), QFile::decodeName(library));
        QVERIFY(prompts[0].onMainThread);
        QCOMPARE(zombies, QList<QByteArray>{masters + "/open/zombie.jpg"});
    }

    // The walk's set: grown past its first guess, each member taken once, the rest listed.
    void pathSetTakesEachMemberOnce() {
        PathSet set(2);
        for (int i = 0; i < 1000; ++i)
            set.insert(QByteArray("d/").append(QByteArray::number(i)).toStdString());
        set.insert("d/7");
        QCOMPARE(set.size(), size_t(1000));
        QVERIFY(set.take("d/7"));
        QVERIFY(!set.take("d/7"));
        QVERIFY(!set.take("d/1000"));
        QVERIFY(set.contains("d/7"));
        for (int i = 0; i < 1000; i += 2)
            set.take(QByteArray("d/").append(QByteArray::number(i)).toStdString());
        QSet<QByteArray> untaken;
        set.forEachUntaken(
            [&](std::string_view p) { untaken.insert(QByteArray(p.data(), qsizetype(p.size()))); });
        QCOMPARE(untaken.size(), 499); // the odd ones but 7
        QVERIFY(untaken.contains("d/999") && !untaken.contains("d/7") && !untaken.contains("d/8"));
    }

    // ---- the journal ----

    // Names are bytes and the process may die mid-write: what was synced reads back exactly, a
    // line cut short is dropped, and a journal in use is nobody else's.
    // A zombie an unfinished recovery puts back just before the photo list is taken must not look
    // as new as a fresh import, which would leave it in place. Looked at first, a file's next
    // change may carry a finer time than the coarse clock reads within the same tick.
    void photoListIsLaterThanEveryEarlierChange() {
        QTemporaryDir dir;
        const QByteArray parked = QFile::encodeName(dir.filePath(QStringLiteral("parked.jpg")));
        const QByteArray back = QFile::encodeName(dir.filePath(QStringLiteral("back.jpg")));
        QVERIFY(QFile(QFile::decodeName(parked)).open(QIODevice::WriteOnly));
        for (int k = 0; k < 20; ++k) {
            struct stat st {};
            QCOMPARE(::stat(parked.constData(), &st), 0);
            QCOMPARE(::rename(parked.constData(), back.constData()), 0);
            const timespec listed = ZombieRecovery::photoListTime();
            QCOMPARE(::stat(back.constData(), &st), 0);
            QVERIFY2(st.st_ctim.tv_sec < listed.tv_sec ||
                         (st.st_ctim.tv_sec == listed.tv_sec && st.st_ctim.tv_nsec < listed.tv_nsec),
                     qPrintable(QString::number(k)));
            QCOMPARE(::rename(back.constData(), parked.constData()), 0);
        }
    }

    void journalSurvivesAnyBytesAndATornTail() {
        QString why;
        auto first = RecoveryJournal::create(masters, kAlbumName, QStringLiteral("2014-02-03-091500"), &why);
        auto second = RecoveryJournal::create(masters, kAlbumName, QStringLiteral("2014-02-03-091500"), &why);
        QVERIFY2(first && second, qPrintable(why));
        QVERIFY(first->park() != second->park()); // two runs in one second park apart
        QVERIFY(SafeMove::lastComponentOf(first->park()).startsWith("Vupzombies-2014-02-03-091500-"));
        struct stat st {};
        QVERIFY(::stat(first->park().constData(), &st) == 0 && (st.st_mode & 0777) == 0700);

        const QByteArray odd = masters + "/a b/100% \n\xff\x01.jpg";
        first->plan({odd, "x/odd", 12, 3, 4, ZombieState::Planned, 0});
        first->plan({masters + "/plain.jpg", "x/plain.jpg", 1, 3, 5, ZombieState::Planned, 0});
        first->record(1, ZombieState::ReAdded, 42);
        first->recordImport(7, {5, 6});
        QVERIFY(first->sync());
        QVERIFY(!RecoveryJournal::reopen(first->path())); // locked by its run
        {
            QFile torn(QFile::decodeName(first->path()));
            QVERIFY(torn.open(QIODevice::Append));
            torn.write("state 0 v 9");
        }
        const QByteArray path = first->path();
        first.reset();
        QVERIFY(RecoveryJournal::unfinished().contains(path));
        const auto again = RecoveryJournal::reopen(path);
        QVERIFY(again);
        QCOMPARE(again->masters(), masters);
        QCOMPARE(again->albumName(), kAlbumName);
        QCOMPARE(again->entries().size(), 2);
        QCOMPARE(again->entries()[0].original, odd);
        QCOMPARE(again->entries()[0].state, ZombieState::Planned);
        QCOMPARE(again->entries()[1].state, ZombieState::ReAdded);
        QVERIFY(again->importSent());
        QCOMPARE(again->photosNotToClaim(), (QSet<qint64>{5, 6, 42}));
    }

    // ---- recovery against a running photo application ----

    void recoversIntoANewDatedAlbum_data() {
        QTest::addColumn<bool>("earlierAlbums");
        QTest::newRow("a new album") << false;
        // The first plain album of the run's name takes the import, whatever else is called so.
        QTest::newRow("albums of the same name") << true;
    }
    void recoversIntoANewDatedAlbum() {
        QFETCH(bool, earlierAlbums);
        makeLibraryWithZombies();
        if (earlierAlbums) {
            for (const QString& type : {QStringLiteral("smrt"), QStringLiteral("albm")})
                QCOMPARE(photoapp("album", "create", lib->path(), kAlbumName, "--type", type).exitCode, 0);
        }
        const auto before = FileTree::contents({masters, state});
        const qsizetype filesBefore = FileTree::files(masters).size();

        QList<QByteArray> zombies = FileTree::files(masters);
        zombies.removeIf(
            [](const QByteArray& f) { return !f.contains("Zombie_") && !f.endsWith("/Same.jpg"); });
        QCOMPARE(zombies.size(), 4);
        const auto inPlace = [&] {
            return std::count_if(zombies.cbegin(), zombies.cend(),
                                 [&](const QByteArray& f) { return FileTree::exists(masters + '/' + f); });
        };
        // The window hears of each zombie before it moves, once the one before has moved.
        RecordingDelegate delegate;
        QStringList shown;
        delegate.onCall = [&](const DelegateCall& call) {
            if (call.name != QLatin1String("cancelled"))
                shown.append(QStringLiteral("%1 %2, %3 in place%4")
                                 .arg(call.name, call.text())
                                 .arg(inPlace())
                                 .arg(call.onMainThread ? "" : ", off the main thread"));
        };
        const Run run = detectAndRecover(delegate);
        QCOMPARE(shown, (QStringList{QStringLiteral("setStatusLabel Zombies Detected, 4 in place"),
                                     QStringLiteral("cfgProgressBarMaxValue 4, 4 in place"),
                                     QStringLiteral("cfgProgressBarCurrentValue 1, 4 in place"),
                                     QStringLiteral("cfgProgressBarCurrentValue 2, 3 in place"),
                                     QStringLiteral("cfgProgressBarCurrentValue 3, 2 in place"),
                                     QStringLiteral("cfgProgressBarCurrentValue 4, 1 in place")}));
        QCOMPARE(inPlace(), 0);

        const ZombieRecoveryReport& r = run.report;
        QCOMPARE(r.albumName, kAlbumName);
        QCOMPARE(SafeMove::directoryOf(r.parkFolder), recoveries());
        QCOMPARE(r.count(ZombieState::ReAdded), 4);
        QVERIFY(r.complete());
        QVERIFY(r.journal.endsWith(".done"));
        QCOMPARE(leftInRecoveries(), QList<QByteArray>{});
        QVERIFY(!FileTree::exists(r.parkFolder));

        const QList<iPhotoAlbum> albums = albumsNamed(kAlbumName);
        QCOMPARE(albums.size(), earlierAlbums ? 3 : 1);
        for (qsizetype i = 0; i < albums.size(); ++i)
            QCOMPARE(albums[i].photoCount(), i == (earlierAlbums ? 1 : 0) ? 4 : 0);
        QCOMPARE(albums[earlierAlbums ? 1 : 0].type(), PhotoAppWire::kAlbumTypePlain);
        if (earlierAlbums)
            QCOMPARE(albums[0].type(), PhotoAppWire::kAlbumTypeSmart);

        // Nothing lost: every content is still there, now inside the library.
        QCOMPARE(FileTree::lost(before, FileTree::contents({masters, state})), QList<QByteArray>{});
        QCOMPARE(FileTree::files(masters).size(), filesBefore);
        RecordingDelegate again;
        QVERIFY(
            ZombieDetector::detectZombies(masterPathsOf(), ScanDoor(&again).zombieCalls()).zombies.isEmpty());

        // As if killed while it removed the parked copies of the verified imports: the journal
        // open and saying re-added, the copies still in the park, and a stray file beside them.
        const QByteArray open = r.journal.chopped(5) + ".journal";
        QVERIFY(::rename(r.journal.constData(), open.constData()) == 0);
        const QByteArray written = FileTree::read(open);
        QVERIFY(written.endsWith("closed\n"));
        QVERIFY(::truncate(open.constData(), written.size() - 7) == 0);
        for (const ZombieRecoveryReport::Zombie& z : r.zombies)
            QVERIFY(FileTree::write(r.parkFolder + z.path, "parked copy"));
        QVERIFY(FileTree::write(r.parkFolder + "/stray.jpg", "unknown to the journal"));
        const QString told = QStringLiteral("Vup finished an interrupted zombie recovery: %1 re-added, 0 put "
                                            "back, %2 still parked in %3.");
        // What the disk holds is what is told; the journal stays open while anything is parked.
        QCOMPARE(finishInterrupted(), told.arg(4).arg(1).arg(QFile::decodeName(r.parkFolder)));
        QCOMPARE(leftInRecoveries(),
                 (QList<QByteArray>{SafeMove::lastComponentOf(open),
                                    SafeMove::lastComponentOf(r.parkFolder) + "/stray.jpg"}));
        QVERIFY(::unlink((r.parkFolder + "/stray.jpg").constData()) == 0);
        QCOMPARE(finishInterrupted(), told.arg(4).arg(0).arg(QFile::decodeName(r.parkFolder)));
        QCOMPARE(leftInRecoveries(), QList<QByteArray>{});
        QVERIFY(!FileTree::exists(r.parkFolder) && FileTree::exists(r.journal));
        QCOMPARE(photosInZombieAlbums(), qint64(4));
    }

    // Photos imported while a run recovers (after its photo list was taken) are no zombies of it:
    // named by a photo when the files move, or changed since the list, they stay where they are.
    void whatTheLibraryGainsDuringTheRunStays_data() {
        QTest::addColumn<bool>("recorded");
        QTest::newRow("imported by the application") << true;
        QTest::newRow("written into Masters, not recorded yet") << false;
    }
    void whatTheLibraryGainsDuringTheRunStays() {
        QFETCH(bool, recorded);
        makeLibraryWithZombies();
        const QByteArray jpeg = FileTree::read(masters + "/2020/y/Same.jpg");
        const QByteArray fresh = recorded ? root + "/newphotos" : masters + "/2026/12/08/fresh";
        const auto addPhotos = [&] {
            for (int i = 0; i < 3; ++i)
                QVERIFY(FileTree::write(fresh + "/IMG_" + QByteArray::number(i) + ".jpg",
                                        jpeg + QByteArray(i + 1, 'n')));
            if (recorded)
                QCOMPARE(photoapp("import", lib->path(), QFile::decodeName(fresh), "--album", "UserImport")
                             .exitCode,
                         0);
        };
        RecordingDelegate delegate;
        const Run run = detectAndRecover(delegate, {}, {}, addPhotos);
        const ZombieRecoveryReport& r = run.report;
        QCOMPARE(r.count(recorded ? ZombieState::Referenced : ZombieState::Appeared), 3);
        QCOMPARE(r.count(ZombieState::ReAdded), 4);
        QVERIFY(r.complete());
        QCOMPARE(photosInZombieAlbums(), qint64(4));
        for (const iPhotoPhoto& photo : application()->photoLibraryAlbum().photos())
            QVERIFY(FileTree::exists(QFile::encodeName(
                photo.properties().value(QString::fromLatin1(PhotoAppWire::kImagePath)).toString())));
        if (!recorded)
            QCOMPARE(FileTree::files(fresh).size(), 3);
        ScanFindings findings;
        findings.recovery = r;
        const QByteArray why = recorded ? "a photo names it: " : "appeared during the scan: ";
        QCOMPARE(zombieListing(findings).join('\n').count("zombie left in place: " + why), 3);
    }

    // What the application refuses goes back to exactly where it was, under its very name, also
    // across file systems; a zombie that turned into a link before its move is never moved. Of two
    // zombies of one name and size, the refused one (the first to look for its photo) is not taken
    // for its imported twin. One whose place was taken meanwhile replaces nothing: it stays parked,
    // the summary says where, and a later run puts it back once its place is free. Depth is no
    // limit: of two zombies 2,500 folders down, far past what a path can name, one is re-added and
    // the other goes back down there. A photo that names a parked file itself (taken where it lay,
    // not copied) does not make that file disposable: deleting it would delete the photo's only
    // copy. The summary and the report count each apart; the run is no success.
    void refusedAndUnmovableZombiesAreCounted() {
        makeLibraryWithZombies();
        QTemporaryDir shm(QStringLiteral("/dev/shm/vup-zombies-XXXXXX"));
        if (shm.isValid()) {
            state = QFile::encodeName(shm.path());
            qputenv("XDG_STATE_HOME", state);
        }
        const QByteArray notAnImage = masters + "/2020/x/notes.jpg";
        const QByteArray displaced = masters + "/2020/z/letter.jpg";
        const QByteArray oddName = masters + "/2020/x/caf\xe9-\xff.jpg";
        const QByteArray swapped = masters + "/2020/x/Same.jpg";
        const QByteArray aside = root + "/elsewhere/aside.jpg";
        QVERIFY(FileTree::write(notAnImage, "just some text, not a picture"));
        QVERIFY(FileTree::write(displaced, "more text, not a picture either"));
        QVERIFY(FileTree::write(oddName, FileTree::read(masters + "/2020/y/Same.jpg") + "odd"));
        QByteArray unreadable = FileTree::read(swapped);
        QVERIFY(unreadable.size() > 16);
        unreadable.replace(0, 16, QByteArray(16, 'X')); // no longer an image, same size
        const QByteArray refusedTwin = masters + "/2020/p/Twin.jpg";
        const QByteArray importedTwin = masters + "/2020/q/Twin.jpg";
        QVERIFY(FileTree::write(refusedTwin, unreadable));
        QVERIFY(FileTree::write(importedTwin, FileTree::read(swapped)));
        constexpr int kDepth = 2500;
        {
            const SafeMove::Fd deep(FileTree::deepFolder(masters, kDepth, true));
            QVERIFY(deep.valid());
            for (const auto& [name, content] : {std::pair{"deep.jpg", FileTree::read(importedTwin) + "deep"},
                                                {"deep.txt", QByteArray("text")}}) {
                const SafeMove::Fd file(::openat(deep.get(), name, O_WRONLY | O_CREAT, 0644));
                QVERIFY(::write(file.get(), content.constData(), size_t(content.size())) == content.size());
            }
        }
        QVERIFY(::mkdir((root + "/elsewhere").constData(), 0755) == 0);
        QVERIFY(slowImports(2000));
        const auto before = FileTree::contents({masters, root + "/elsewhere"});

        // While the import runs, the album gains a photo of the parked `notAnImage` in place.
        bool added = false;
        QTimer adder;
        adder.setInterval(50);
        connect(&adder, &QTimer::timeout, [&] {
            const QList<iPhotoAlbum> albums = albumsNamed(kAlbumName);
            const QList<QByteArray> journals = RecoveryJournal::unfinished();
            if (albums.isEmpty() || journals.isEmpty() || !application()->importing())
                return;
            adder.stop();
            const QString path = QFile::decodeName(journals[0].chopped(8) + notAnImage);
            added = photoapp("photo", "add-record", lib->path(), "--image", path, "--original", path,
                             "--album", QString::number(albums[0].id()))
                        .exitCode == 0;
        });
        adder.start();

        RecordingDelegate delegate;
        // Just before its move, `swapped` becomes a link to itself moved outside the library; once
        // `displaced` has moved, someone else's file takes its place.
        delegate.on(QStringLiteral("cfgProgressBarCurrentValue"), [&](const DelegateCall& call) {
            const double value = call.value.toDouble();
            if (value == 1.0)
                QVERIFY(::rename(swapped.constData(), aside.constData()) == 0 &&
                        ::symlink(aside.constData(), swapped.constData()) == 0);
            if (value == 3.0)
                QVERIFY(FileTree::write(displaced, "a newcomer"));
        });
        LogCapture log;
        const Run run = detectAndRecover(delegate, {swapped, displaced, refusedTwin});
        const ZombieRecoveryReport& r = run.report;
        QVERIFY(added);
        QCOMPARE(r.count(ZombieState::ReAdded), 5);
        QCOMPARE(r.count(ZombieState::PutBack), 4);
        QCOMPARE(r.count(ZombieState::NotMoved), 1);
        QCOMPARE(r.count(ZombieState::Parked), 1);
        QVERIFY(!r.complete());
        QCOMPARE(FileTree::read(notAnImage), QByteArray("just some text, not a picture"));
        QVERIFY(FileTree::exists(oddName));
        QCOMPARE(FileTree::read(refusedTwin), unreadable);
        QVERIFY(!FileTree::exists(importedTwin));
        struct stat st {};
        QVERIFY(::lstat(swapped.constData(), &st) == 0 && S_ISLNK(st.st_mode)); // left where it was
        const SafeMove::Fd deep(FileTree::deepFolder(masters, kDepth, false));
        QVERIFY(::fstatat(deep.get(), "deep.txt", &st, 0) == 0);
        QVERIFY(::fstatat(deep.get(), "deep.jpg", &st, 0) != 0);
        QCOMPARE(FileTree::read(displaced), QByteArray("a newcomer"));
        QCOMPARE(FileTree::read(r.parkFolder + displaced), QByteArray("more text, not a picture either"));
        QVERIFY(logged(log, QStringLiteral("Zombie put back: ") + QFile::decodeName(notAnImage)));
        QVERIFY(logged(log, QStringLiteral("Zombie could not be put back and stays in ")));
        QVERIFY(r.journal.endsWith(".journal"));
        QCOMPARE(albumsNamed(kAlbumName).value(0).photoCount(), 6);

        ScanFindings findings;
        findings.zombies = run.found.zombies;
        findings.recovery = r;
        QCOMPARE(zombieSummary(findings),
                 QStringLiteral(
                     "\n\n5 Zombies were detected and re-added to your library.  They are located in the "
                     "Vup Zombies Album.  5 zombies could not be re-added and were put back where they "
                     "were.  1 are still parked in %1.")
                     .arg(QFile::decodeName(r.parkFolder)));
        QVERIFY(!zombieStageComplete(findings));
        const QJsonObject counts =
            scanFindingsToJson(findings)[QStringLiteral("recovery")][QStringLiteral("counts")].toObject();
        QCOMPARE(counts[QStringLiteral("reAdded")].toInt(), 5);
        QCOMPARE(counts[QStringLiteral("putBack")].toInt(), 4);
        QCOMPARE(counts[QStringLiteral("notMoved")].toInt(), 1);
        QCOMPARE(counts[QStringLiteral("stillParked")].toInt(), 1);

        QVERIFY(::unlink(displaced.constData()) == 0);
        QCOMPARE(finishInterrupted(),
                 QStringLiteral("Vup finished an interrupted zombie recovery: 5 re-added, 6 put back, 0 "
                                "still parked in %1.")
                     .arg(QFile::decodeName(r.parkFolder)));
        QCOMPARE(FileTree::read(displaced), QByteArray("more text, not a picture either"));
        QCOMPARE(leftInRecoveries(), QList<QByteArray>{});
        QCOMPARE(FileTree::lost(before, FileTree::contents({masters, root + "/elsewhere"})),
                 QList<QByteArray>{});
    }

    // Quitting or Ctrl-C while the import runs: the run waits for the application's import to
    // end before it asks the album, so nothing it puts back arrives afterwards. A zombie in the
    // album is re-added whatever took its place meanwhile. An import that outlasts the wait
    // leaves every zombie parked for the next run.
    void cancelledDuringImport_data() {
        QTest::addColumn<int>("importDelay");
        QTest::newRow("import ends within the wait") << 3000;
        QTest::newRow("import outlasts the wait") << 60000;
    }
    void cancelledDuringImport() {
        QFETCH(int, importDelay);
        const bool outlasts = importDelay > 10000;
        cancelImportWait = std::chrono::milliseconds(outlasts ? 500 : 10000);
        makeLibraryWithZombies();
        QVERIFY(slowImports(importDelay));
        const QByteArray swapped = masters + "/2020/x/Same.jpg";
        const auto before = FileTree::contents({masters, state});
        RecordingDelegate delegate;
        QTimer canceller;
        canceller.setInterval(50);
        connect(&canceller, &QTimer::timeout, [&] {
            if (application()->importing()) {
                canceller.stop();
                QVERIFY(FileTree::write(swapped, "a newcomer"));
                delegate.cancelRequested = true;
            }
        });
        delegate.on(QStringLiteral("cfgProgressBarCurrentValue"), [&](const DelegateCall& call) {
            const double value = call.value.toDouble();
            if (value == 4.0)
                canceller.start();
        });
        LogCapture log;
        const Run run = detectAndRecover(delegate);
        QCOMPARE(application()->importing(), outlasts);
        QVERIFY(run.report.cancelled);
        QVERIFY(logged(log, QStringLiteral("The run was cancelled during the import")));
        QCOMPARE(run.report.count(outlasts ? ZombieState::Parked : ZombieState::ReAdded), 4);
        QCOMPARE(FileTree::read(swapped), QByteArray("a newcomer"));
        for (const QByteArray& zombie : run.found.zombies)
            QVERIFY(zombie == swapped || !FileTree::exists(zombie));
        QCOMPARE(FileTree::lost(before, FileTree::contents({masters, state})), QList<QByteArray>{});
        if (outlasts) {
            QVERIFY(logged(log, QStringLiteral("The import did not end in time")));
            QCOMPARE(FileTree::files(run.report.parkFolder).size(), 4);
            return;
        }
        QCOMPARE(photosInZombieAlbums(), qint64(4));
        QCOMPARE(leftInRecoveries(), QList<QByteArray>{});
    }

    void nothingMovesWhenItIsNotSafe_data() {
        QTest::addColumn<QString>("why");
        QTest::addColumn<QString>("told"); // in the log or the reason detection was skipped
        // Nobody can say whether a photo names a zombie now.
        QTest::newRow("application quits before the moves")
            << "quit"
            << "the photo application did not say whether a photo names it";
        // A state folder others may enter gets no photos.
        QTest::newRow("state folder of another") << "state"
                                                 << "Zombie recovery skipped";
        // A Masters folder that is a link leads out of the library.
        QTest::newRow("Masters is a link") << "link"
                                           << "is a link to ";
    }
    void nothingMovesWhenItIsNotSafe() {
        QFETCH(QString, why);
        QFETCH(QString, told);
        makeLibraryWithZombies();
        QByteArray folder = masters;
        if (why == QLatin1String("state")) {
            QVERIFY(SafeMove::openFolder(root, "state/vup/recoveries", true).valid());
            QVERIFY(::chmod(recoveries().constData(), 0777) == 0);
        } else if (why == QLatin1String("link")) {
            folder = root + "/unrelated";
            QVERIFY(::rename(masters.constData(), folder.constData()) == 0);
            QVERIFY(::symlink(folder.constData(), masters.constData()) == 0);
            QVERIFY(
                FileTree::write(folder + "/victim_photo.jpg", FileTree::read(folder + "/2020/y/Same.jpg")));
        }
        const auto before = FileTree::contents({folder});
        const QList<QByteArray> files = FileTree::files(folder);
        RecordingDelegate delegate;
        LogCapture log;
        const Run run = detectAndRecover(delegate, {}, [&] {
            if (why == QLatin1String("quit"))
                MainThread::run(
                    &delegate, [this] { lib->stop(); }, MainThread::Wait::Yes);
        });
        QVERIFY(logged(log, told) || run.found.skipped.contains(told));
        QCOMPARE(run.found.zombies.size(), why == QLatin1String("link") ? 0 : 4);
        QCOMPARE(run.report.count(ZombieState::NotMoved), run.found.zombies.size());
        QCOMPARE(run.report.applicationLost, why == QLatin1String("quit"));
        QCOMPARE(FileTree::files(folder), files);
        QCOMPARE(FileTree::lost(before, FileTree::contents({folder})), QList<QByteArray>{});
        QCOMPARE(leftInRecoveries(), QList<QByteArray>{});
        if (why != QLatin1String("quit"))
            QVERIFY(zombieAlbums().isEmpty() && FileTree::files(recoveries()).isEmpty());
    }

    // The whole headless run on a demo library: it recovers the zombies into a dated album and
    // tags the rest. A second scan meanwhile, from the terminal or a window, is refused and
    // changes nothing.
    void headlessLibraryScan() {
        QVERIFY(makeLibrary(40, 3, 2, 2) && lib->serve());
        // The only import is the zombies', made slow enough to start a second scan.
        QVERIFY(slowImports(2000));
        const auto before = FileTree::contents({masters, state});
        ChildProcess first(QStringLiteral(VUP_EXECUTABLE), kScanArgs);
        QTRY_VERIFY_WITH_TIMEOUT(application()->importing(), 60000);
        const QString refused = QStringLiteral("Another Vup scan is working on this library.");
        const ProgramRun second = runProgram(QStringLiteral(VUP_EXECUTABLE), kScanArgs);
        QCOMPARE(second.exitCode, 1);
        QVERIFY2((second.out + second.err).contains(refused), qPrintable(second.out + second.err));
        VupMode window;
        RecordingDelegate delegate;
        QVERIFY(runOnScanThread([&] { window.vupScan(&delegate); }));
        QCOMPARE(window.lastRun().outcome, ScanFindings::Outcome::AnotherScan);
        QCOMPARE(delegate.calls(QStringLiteral("showAlert")).value(0).text(), refused);

        QVERIFY2(first.wait(60000) == 0, first.out.constData());
        const QString out = QString::fromUtf8(first.out);
        // A recovery that fully succeeded tells it in the old words, and nothing more.
        QVERIFY2(
            out.contains(QStringLiteral("\n\n2 Zombies were detected and re-added to your library.  They are "
                                        "located in the Vup Zombies Album.\n\n")),
            qPrintable(out));
        QCOMPARE(out.count(QStringLiteral("zombie imported-verified: ")), 2);
        QCOMPARE(out.count(QStringLiteral("tagged \"")), 5);
        const QList<iPhotoAlbum> albums = zombieAlbums();
        QCOMPARE(albums.size(), 1);
        QCOMPARE(albums[0].photoCount(), 2);
        QCOMPARE(leftInRecoveries(), QList<QByteArray>{});
        QCOMPARE(FileTree::lost(before, FileTree::contents({masters, state})), QList<QByteArray>{});
    }

    // A recovery cut short at any instant is finished by the next run: every zombie's bytes end
    // in the library exactly once (imported, or back where they were) and nothing stays parked.
    void interruptedRecoveryIsFinishedByTheNextRun_data() {
        QTest::addColumn<QString>("victim"); // "vup" or "photoapp"
        QTest::addColumn<int>("bulk");       // refused zombies added, to make the moves last
        QTest::addColumn<int>("importDelay");
        QTest::addColumn<QString>("told");
        QTest::newRow("vup killed during the moves")
            << "vup" << 1500 << 0 << "Vup finished an interrupted zombie recovery: 0 re-added, ";
        QTest::newRow("vup killed as the import begins")
            << "vup" << 0 << 3000
            << "Vup finished an interrupted zombie recovery: 4 re-added, 0 put back, 0 ";
        QTest::newRow("application killed during the import wait, window launched")
            << "photoapp" << 0 << 60000
            << "Vup finished an interrupted zombie recovery: 4 re-added, 0 put back, 0 ";
    }
    void interruptedRecoveryIsFinishedByTheNextRun() {
        QFETCH(QString, victim);
        QFETCH(int, bulk);
        QFETCH(int, importDelay);
        QFETCH(QString, told);
        makeLibraryWithZombies();
        const QByteArray bulkFolder = masters + "/bulk";
        for (int i = 0; i < bulk; ++i)
            QVERIFY(FileTree::write(bulkFolder + "/note " + QByteArray::number(i) + "\n\xff%.txt", "note"));
        if (importDelay > 0)
            QVERIFY(slowImports(importDelay));
        const auto before = FileTree::contents({masters});

        ChildProcess first(QStringLiteral(VUP_EXECUTABLE), kScanArgs);
        if (bulk > 0) {
            // Stopped as soon as the moves have begun; killed where it stands.
            const QDeadlineTimer deadline(60000);
            while (FileTree::files(bulkFolder).size() == bulk && !deadline.hasExpired())
                QThread::usleep(100);
            ::kill(pid_t(first.pid()), SIGSTOP);
            const qsizetype left = FileTree::files(bulkFolder).size();
            QVERIFY2(left > 0 && left < bulk, "not stopped during the moves");
        } else {
            // Vup is killed as the import begins: the next run must wait for its end before it asks
            // the album. The application, once it holds every zombie but has not said so yet.
            QTRY_VERIFY_WITH_TIMEOUT(application()->importing() &&
                                         (victim == QLatin1String("vup") || photosInZombieAlbums() >= 4),
                                     60000);
        }
        if (victim == QLatin1String("vup")) {
            first.process.kill();
            QVERIFY(first.process.waitForFinished(10000));
        } else {
            lib->service()->kill();
            QCOMPARE(first.wait(60000), 1);
            QVERIFY2(first.out.contains(" are still parked in "), first.out.constData());
            QVERIFY(lib->serve());
        }
        QCOMPARE(RecoveryJournal::unfinished().size(), 1);

        QString second;
        if (victim == QLatin1String("vup")) {
            second = runProgram(QStringLiteral(VUP_EXECUTABLE), kScanArgs).out;
        } else {
            // The window finishes it at launch, before the user can start anything.
            VupMode engine;
            RecordingDelegate delegate;
            QVERIFY(runOnScanThread([&] { engine.resumeRecoveriesAtLaunch(&delegate); }));
            second = delegate.calls(QStringLiteral("showAlert")).value(0).text();
        }
        QVERIFY2(second.contains(told), qPrintable(second));
        QCOMPARE(leftInRecoveries(), QList<QByteArray>{});
        const auto after = FileTree::contents({masters});
        for (auto it = before.cbegin(); it != before.cend(); ++it)
            QCOMPARE(after.value(it.key()), it.value());
        QCOMPARE(photosInZombieAlbums(), 4); // no duplicate
    }

    // A link below Masters, to an image outside the library or to a folder, is never moved nor
    // imported; no album is made for nothing, and the verdict stands first, the note after it.
    void zombieLinksAreLeftAlone() {
        QVERIFY(makeLibrary(40, 0, 0, 1));
        const QByteArray outside = root + "/elsewhere/outside.jpg";
        QVERIFY(FileTree::write(outside, FileTree::read(firstZombieOf(library))));
        QVERIFY(::unlink(firstZombieOf(library).constData()) == 0);
        QVERIFY(::symlink(outside.constData(), (masters + "/linked.jpg").constData()) == 0);
        QVERIFY(::symlink((root + "/elsewhere").constData(), (masters + "/linkedFolder").constData()) == 0);
        QVERIFY(lib->serve());
        const qint64 photos = application()->photoLibraryAlbum().photoCount();
        const QString out = runProgram(QStringLiteral(VUP_EXECUTABLE), kScanArgs).out;
        QVERIFY2(
            out.contains(QStringLiteral("Congratulations, your iPhoto library is problem free and happy.  0 "
                                        "issues found.\n\n2 linked items in the Masters folder were left "
                                        "alone.")),
            qPrintable(out));
        for (const QString& link : {QStringLiteral("/linked.jpg"), QStringLiteral("/linkedFolder")})
            QVERIFY(
                out.contains(QStringLiteral("linked item left alone: ") + QFile::decodeName(masters) + link));
        QCOMPARE(application()->photoLibraryAlbum().photoCount(), photos);
        QVERIFY(zombieAlbums().isEmpty());
        QVERIFY(FileTree::exists(outside) && FileTree::exists(masters + "/linked.jpg"));
        QVERIFY(!FileTree::exists(recoveries()) || FileTree::files(recoveries()).isEmpty());
    }

    // ---- moves ----

    // A move never replaces what is at its target, and keeps bytes, mode and time; a link moves
    // as a link. Across file systems that is a copy, checked, then the original removed.
    void moveNeverReplaces_data() {
        QTest::addColumn<bool>("acrossFileSystems");
        QTest::newRow("same file system") << false;
        QTest::newRow("across file systems") << true;
    }
    void moveNeverReplaces() {
        QFETCH(bool, acrossFileSystems);
        QTemporaryDir other(QStringLiteral("/dev/shm/vup-zombies-XXXXXX"));
        const QByteArray base = acrossFileSystems ? QFile::encodeName(other.path()) : root;
        struct stat here {
        }, there{};
        if (acrossFileSystems && (!other.isValid() || ::stat(root.constData(), &here) != 0 ||
                                  ::stat(base.constData(), &there) != 0 || here.st_dev == there.st_dev))
            QSKIP("no second file system to move across");
        auto removeOther = qScopeGuard([&] { FileTree::removeAll(QFile::encodeName(other.path())); });
        const QByteArray from = root + "/a/\xff-photo.jpg";
        const QByteArray content(300000, 'x');
        QVERIFY(FileTree::write(from, content));
        const timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
        QVERIFY(::chmod(from.constData(), 0640) == 0 && ::utimensat(AT_FDCWD, from.constData(), old, 0) == 0);
        const QByteArray to = base + "/deep/er/\xff-photo.jpg";
        QVERIFY(FileTree::write(to, "theirs"));
        QCOMPARE(SafeMove::moveItem(from, to), SafeMove::Outcome::TargetExists);
        QCOMPARE(FileTree::read(from), content);
        QCOMPARE(FileTree::read(to), QByteArray("theirs"));

        QVERIFY(::unlink(to.constData()) == 0);
        QCOMPARE(SafeMove::moveItem(from, to), SafeMove::Outcome::Moved);
        QVERIFY(!FileTree::exists(from));
        QCOMPARE(FileTree::read(to), content);
        struct stat after {};
        QVERIFY(::stat(to.constData(), &after) == 0);
        QCOMPARE(after.st_mode & 07777, mode_t(0640));
        QCOMPARE(after.st_mtim.tv_sec, old[1].tv_sec);
        QCOMPARE(SafeMove::moveItem(from, to), SafeMove::Outcome::SourceMissing);

        QVERIFY(::symlink("somewhere", (root + "/link").constData()) == 0);
        QCOMPARE(SafeMove::moveItem(root + "/link", base + "/deep/link"), SafeMove::Outcome::Moved);
        char target[64] = {};
        QCOMPARE(::readlink((base + "/deep/link").constData(), target, sizeof target - 1), ssize_t(9));
        QCOMPARE(QByteArray(target), QByteArray("somewhere"));
    }
};

VUP_TEST_MAIN_CORE(tst_Zombies)
#include "tst_zombies.moc"
