#include "bridge/PhotoAppWire.h"
#include "bridge/iPhotoBridge.h"
#include "bridge/iPhotoTypes.h"
#include "platform/SystemLog.h"
#include "platform/TemporaryDirectory.h"
#include "scan/PathSet.h"
#include "scan/SafeMove.h"
#include "scan/ZombieDetector.h"
#include "scan/ZombieRecovery.h"
#include "tests/support/AsNobody.h"
#include "tests/support/PhotoAppProcess.h"
#include "tests/support/ScriptedDelegate.h"
#include "tests/support/TestMain.h"
#include "tests/zombies/FileTree.h"

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

QVariant entry(const QByteArray& path) {
    return QVariant(QFile::decodeName(path));
}

QSet<QByteArray> asSet(const QList<QByteArray>& list) {
    return QSet<QByteArray>(list.cbegin(), list.cend());
}

// Collects log lines while alive.
class LogCapture {
public:
    LogCapture() {
        previous = SystemLog::setSink([this](const QString& line) { lines.append(line); });
    }
    ~LogCapture() { SystemLog::setSink(previous); }
    bool contains(const QString& part) const {
        return std::any_of(lines.cbegin(), lines.cend(), [&](const QString& l) { return l.contains(part); });
    }
    QStringList lines;

private:
    SystemLog::Sink previous;
};

std::shared_ptr<iPhotoApplication> application() {
    return iPhotoApplication::applicationWithBundleIdentifier(QString::fromLatin1(PhotoAppWire::kService));
}

// Every master path the running application names, in library order, as a scan loads them.
QVariantList masterPathsOf() {
    QVariantList out;
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

const QDateTime kRunStart(QDate(2014, 2, 3), QTime(9, 15, 0));
const QString kAlbumName = QStringLiteral("Vup Zombies 2014-02-03-091500");
} // namespace

class ZombieTests : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> temp;
    QByteArray root;
    QByteArray library;
    QByteArray masters;
    QByteArray originalTmpdir;

    // A demo library with two zombies in one folder, plus same-named zombies in two folders.
    void makeLibraryWithZombies(PhotoAppProcess& app) {
        QVERIFY(::mkdir((root + "/Pictures").constData(), 0755) == 0);
        const auto made = PhotoAppProcess::run({QStringLiteral("demo"), QFile::decodeName(library),
                                                QStringLiteral("--photos"), QStringLiteral("4"),
                                                QStringLiteral("--missing-images"), QStringLiteral("0"),
                                                QStringLiteral("--missing-masters"), QStringLiteral("0"),
                                                QStringLiteral("--zombies"), QStringLiteral("2")});
        QVERIFY2(made.exitCode == 0, made.err.constData());
        const QByteArray jpeg = FileTree::read(firstZombieOf(library));
        QVERIFY(!jpeg.isEmpty());
        QVERIFY(FileTree::write(masters + "/2020/x/Same.jpg", jpeg));
        QVERIFY(FileTree::write(masters + "/2020/y/Same.jpg", jpeg + QByteArray(7, '\0')));
        QVERIFY(app.serve(QFile::decodeName(library)));
    }

    static QByteArray firstZombieOf(const QByteArray& lib) {
        for (const QByteArray& f : FileTree::files(lib + "/Masters"))
            if (f.contains("Zombie_"))
                return lib + "/Masters/" + f;
        return {};
    }

    // Makes every import of the served library take at least `ms`.
    static bool slowImports(const QByteArray& lib, int ms) {
        return PhotoAppProcess::run({QStringLiteral("fault"), QFile::decodeName(lib),
                                     QStringLiteral("--import-delay"), QString::number(ms)})
                   .exitCode == 0;
    }

    // The per-user temporary directory of this test, on the given root.
    QByteArray useTemporaryDirectory(const QByteArray& under) {
        const QByteArray dir = under + "/user-tmp";
        FileTree::removeAll(dir);
        if (!SafeMove::makePath(dir))
            return {};
        qputenv("TMPDIR", dir);
        return dir;
    }

    struct Run {
        QList<QByteArray> zombies;
        ZombieRecovery::Outcome outcome;
    };

    Run detectAndRecover(ScriptedDelegate& delegate, const std::function<void()>& betweenSteps = {}) {
        Run run;
        auto app = application();
        const QVariantList masterPaths = masterPathsOf();
        const bool finished = runOnScanThread([&] {
            run.zombies = ZombieDetector::detectZombies(masterPaths, &delegate);
            if (betweenSteps)
                betweenSteps();
            ZombieRecovery recovery(app, &delegate);
            recovery.setClock([] { return kRunStart; });
            recovery.setPollInterval(std::chrono::milliseconds(50));
            run.outcome = recovery.recoverZombies(run.zombies);
        });
        if (!finished)
            qFatal("zombie recovery did not finish");
        return run;
    }

private slots:
    void initTestCase() { originalTmpdir = qgetenv("TMPDIR"); }

    void init() {
        // Recovery cases point TMPDIR at a folder of their own; every case starts afresh.
        if (originalTmpdir.isEmpty())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", originalTmpdir);
        temp = std::make_unique<QTemporaryDir>();
        QVERIFY(temp->isValid());
        root = QFile::encodeName(temp->path());
        ::chmod(root.constData(), 0755); // the permission cases walk it as another user
        library = root + "/Pictures/Family.photolibrary";
        masters = library + "/Masters";
    }
    void cleanup() { FileTree::removeAll(root); }

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

        ScriptedDelegate delegate;
        const QVariantList entries{entry(referenced), entry(referenced), entry(masters + "/2026/c/case.jpg"),
                                   QStringLiteral("/srv/elsewhere/outside.jpg")};
        const QList<QByteArray> zombies = ZombieDetector::detectZombies(entries, &delegate);

        const QSet<QByteArray> expected{masters + "/2026/a/IMG_2.jpg",
                                        masters + "/2026/b/IMG_2.jpg",
                                        masters + "/2026/Show.bundle/Contents/inner.jpg",
                                        masters + "/2026/c/Case.jpg",
                                        masters + "/2026/link.jpg",
                                        masters + "/2026/folderLink"};
        QCOMPARE(zombies.size(), expected.size()); // each exactly once
        QCOMPARE(asSet(zombies), expected);
        QVERIFY(delegate.callsOf(QStringLiteral("setRecoverZombies")).isEmpty());
        QVERIFY(delegate.callsOf(QStringLiteral("userSelectedFiles")).isEmpty());
    }

    void noLibraryInTheList_data() {
        QTest::addColumn<QVariantList>("entries");
        QTest::newRow("empty list") << QVariantList{};
        QTest::newRow("outside any library") << QVariantList{
            QStringLiteral("/srv/a.jpg"), QStringLiteral("/srv/Lib.PHOTOLIBRARY/Masters/b.jpg")};
    }
    void noLibraryInTheList() {
        QFETCH(QVariantList, entries);
        QVERIFY(FileTree::write(masters + "/zombie.jpg", "z"));
        ScriptedDelegate delegate;
        QVERIFY(ZombieDetector::detectZombies(entries, &delegate).isEmpty());
        QCOMPARE(delegate.callsOf(QStringLiteral("setRecoverZombies")).size(), 1);
        QCOMPARE(delegate.recoverZombies(), false);
    }

    void libraryLocation() {
        // ".aplibrary" wins even after ".photolibrary"; the first entry with a library decides.
        const QByteArray nested = root + "/Old.photolibrary/inner/New.aplibrary";
        QVERIFY(FileTree::write(nested + "/Masters/kept.jpg", "k"));
        QVERIFY(FileTree::write(nested + "/Masters/zombie.jpg", "z"));
        QVERIFY(FileTree::write(root + "/Old.photolibrary/Masters/other.jpg", "o"));
        ScriptedDelegate delegate;
        const QList<QByteArray> zombies =
            ZombieDetector::detectZombies({entry(nested + "/Masters/kept.jpg")}, &delegate);
        QCOMPARE(zombies, QList<QByteArray>{nested + "/Masters/zombie.jpg"});

        // No Masters folder: nothing found, the option left alone.
        QVERIFY(ZombieDetector::detectZombies({entry(root + "/Bare.photolibrary/Masters/x.jpg")}, &delegate)
                    .isEmpty());
        QVERIFY(delegate.callsOf(QStringLiteral("setRecoverZombies")).isEmpty());
    }

    // With a hole in the reference list, a live master could pass for a zombie.
    void refusesIncompleteOrMixedReferences_data() {
        QTest::addColumn<QVariant>("odd");
        QTest::newRow("null marker") << nullMarker();
        QTest::newRow("empty placeholder") << QVariant(QString());
        QTest::newRow("another library")
            << QVariant(QStringLiteral("/Volumes/Other.photolibrary/Masters/x.jpg"));
    }
    void refusesIncompleteOrMixedReferences() {
        QFETCH(QVariant, odd);
        QVERIFY(FileTree::write(masters + "/live.jpg", "l"));
        QVERIFY(FileTree::write(masters + "/zombie.jpg", "z"));
        ScriptedDelegate delegate;
        LogCapture log;
        // The odd entry first: a null marker must not stop the search for the library.
        const QList<QByteArray> zombies =
            ZombieDetector::detectZombies({odd, entry(masters + "/live.jpg")}, &delegate);
        QVERIFY(zombies.isEmpty());
        QVERIFY(delegate.callsOf(QStringLiteral("setRecoverZombies")).isEmpty());
        QVERIFY2(log.contains(QStringLiteral("Zombie detection skipped")), qPrintable(log.lines.join('\n')));
    }

    void sameFileUnderAnotherSpelling() {
        QVERIFY(FileTree::write(masters + "/a/IMG_1.jpg", "1"));
        QVERIFY(FileTree::write(masters + "/a/IMG_2.jpg", "2"));
        QVERIFY(FileTree::write(masters + "/a/IMG_3.jpg", "3"));
        QVERIFY(FileTree::write(masters + "/a/IMG_4.jpg", "4"));
        QVERIFY(::symlink("a", (masters + "/alias").constData()) == 0);
        QVERIFY(::link((masters + "/a/IMG_1.jpg").constData(), (masters + "/a/hard.jpg").constData()) == 0);
        QVERIFY(::symlink("IMG_1.jpg", (masters + "/a/soft.jpg").constData()) == 0);

        ScriptedDelegate delegate;
        const QList<QByteArray> zombies = ZombieDetector::detectZombies(
            {entry(masters + "/a/IMG_1.jpg"), entry(masters + "/alias/IMG_2.jpg"),
             entry(masters + "/a/../a/IMG_3.jpg"), entry(masters + "//a/IMG_4.jpg")},
            &delegate);
        // A link no entry reaches through stays a zombie; the files and the folder link reached are not.
        QCOMPARE(asSet(zombies), QSet<QByteArray>{masters + "/a/soft.jpg"});
    }

    void nonUtf8NameKeepsItsBytes() {
        const QByteArray name = masters + "/a/caf\xe9-\xff.jpg";
        QVERIFY(FileTree::write(name, "latin-1"));
        QVERIFY(FileTree::write(masters + "/a/ref.jpg", "r"));
        ScriptedDelegate delegate;
        const QList<QByteArray> zombies =
            ZombieDetector::detectZombies({entry(masters + "/a/ref.jpg")}, &delegate);
        QCOMPARE(zombies, QList<QByteArray>{name});
        QVERIFY(FileTree::exists(zombies.constFirst()));
    }

    void unreadableFolderIsPassedOver() {
        QVERIFY(FileTree::write(masters + "/locked/inside.jpg", "i"));
        QVERIFY(FileTree::write(masters + "/open/zombie.jpg", "z"));
        QVERIFY(::chmod((masters + "/locked").constData(), 0700) == 0);
        ScriptedDelegate delegate;
        QList<QByteArray> zombies;
        {
            AsNobody nobody;
            if (!nobody.isActive() || ::access((masters + "/locked").constData(), R_OK) == 0)
                QSKIP("no user here that the kernel refuses");
            zombies = ZombieDetector::detectZombies({entry(masters + "/open/ref.jpg")}, &delegate);
        }
        QCOMPARE(zombies, QList<QByteArray>{masters + "/open/zombie.jpg"});
        QVERIFY(delegate.callsOf(QStringLiteral("userSelectedFiles")).isEmpty());
    }

    void unreadableLibraryAsksForTheLibrary() {
        QVERIFY(FileTree::write(masters + "/zombie.jpg", "z"));
        QVERIFY(::chmod(library.constData(), 0700) == 0);
        ScriptedDelegate delegate;
        delegate.onPrompt = [this](const QString&) {
            AsNobody::asRoot([this] { ::chmod(library.constData(), 0755); });
        };
        QList<QByteArray> zombies;
        {
            AsNobody nobody;
            if (!nobody.isActive() || ::access(library.constData(), R_OK) == 0)
                QSKIP("no user here that the kernel refuses");
            QVERIFY(runOnScanThread(
                [&] { zombies = ZombieDetector::detectZombies({entry(masters + "/ref.jpg")}, &delegate); }));
        }
        const auto prompts = delegate.callsOf(QStringLiteral("userSelectedFiles"));
        QCOMPARE(prompts.size(), 1);
        QCOMPARE(prompts[0].text, QFile::decodeName(library));
        QVERIFY(prompts[0].onMainThread);
        QCOMPARE(zombies, QList<QByteArray>{masters + "/zombie.jpg"});
    }

    // ---- recovery against a running photo application ----

    void recoversIntoANewDatedAlbum() {
        PhotoAppProcess app;
        makeLibraryWithZombies(app);
        const QByteArray tmp = useTemporaryDirectory(root);
        QVERIFY(!tmp.isEmpty());
        const auto before = FileTree::contents({masters, tmp});
        const qsizetype filesBefore = FileTree::files(masters).size();

        // Each progress step is shown before its zombie moves, the previous one has moved.
        ScriptedDelegate delegate;
        QList<QByteArray> order;
        QStringList stepProblems;
        Run run;
        delegate.onProgressValue = [&](double value) {
            const qsizetype k = qsizetype(value);
            if (k < 1 || k > order.size())
                return stepProblems.append(QStringLiteral("unexpected value %1").arg(value));
            if (!FileTree::exists(order[k - 1]))
                stepProblems.append(QStringLiteral("zombie %1 moved before its step was shown").arg(k));
            if (k > 1 && FileTree::exists(order[k - 2]))
                stepProblems.append(QStringLiteral("zombie %1 not moved after its step").arg(k - 1));
        };
        // The detector's order is the recovery's order: learn it from a dry detection.
        {
            ScriptedDelegate probe;
            QVERIFY(runOnScanThread([&] { order = ZombieDetector::detectZombies(masterPathsOf(), &probe); }));
        }
        QCOMPARE(order.size(), 4);
        run = detectAndRecover(delegate);
        QCOMPARE(run.zombies, order);
        QVERIFY2(stepProblems.isEmpty(), qPrintable(stepProblems.join('\n')));

        QCOMPARE(run.outcome.albumName, kAlbumName);
        QCOMPARE(run.outcome.zombieFolder, tmp + "/Vupzombies-2014-02-03-091500");
        QCOMPARE(run.outcome.moved, 4);
        QCOMPARE(run.outcome.recovered, 4);
        QCOMPARE(run.outcome.putBack, 0);
        QVERIFY(run.outcome.folderRemoved);
        QVERIFY(!FileTree::exists(run.outcome.zombieFolder));

        const QList<iPhotoAlbum> albums = albumsNamed(kAlbumName);
        QCOMPARE(albums.size(), 1);
        QCOMPARE(albums[0].type(), PhotoAppWire::kAlbumTypePlain);
        QCOMPARE(albums[0].photoCount(), 4);
        for (const QByteArray& zombie : order)
            QVERIFY(!FileTree::exists(zombie));

        // Nothing lost: every content is still there, now inside the library.
        QCOMPARE(FileTree::lost(before, FileTree::contents({masters, tmp})), QList<QByteArray>{});
        QCOMPARE(FileTree::files(masters).size(), filesBefore);
        ScriptedDelegate again;
        QVERIFY(ZombieDetector::detectZombies(masterPathsOf(), &again).isEmpty());

        const auto status = delegate.callsOf(QStringLiteral("setStatusLabel"));
        QCOMPARE(status.size(), 1);
        QCOMPARE(status[0].text, QStringLiteral("Zombies Detected"));
        QVERIFY(status[0].onMainThread);
        const auto maxima = delegate.callsOf(QStringLiteral("cfgProgressBarMaxValue"));
        QCOMPARE(maxima.size(), 1);
        QCOMPARE(maxima[0].value, 4.0);
        const auto values = delegate.callsOf(QStringLiteral("cfgProgressBarCurrentValue"));
        QCOMPARE(values.size(), 4);
        for (int k = 0; k < 4; ++k) {
            QCOMPARE(values[k].value, double(k + 1));
            QVERIFY(values[k].onMainThread);
        }
    }

    // The first plain album of the run's name takes the import, whatever else is called so.
    void earlierAlbumOfTheSameName() {
        PhotoAppProcess app;
        makeLibraryWithZombies(app);
        const QByteArray tmp = useTemporaryDirectory(root);
        QVERIFY(!tmp.isEmpty());
        const auto before = FileTree::contents({masters, tmp});
        const QString lib = QFile::decodeName(library);
        QCOMPARE(PhotoAppProcess::run({QStringLiteral("album"), QStringLiteral("create"), lib, kAlbumName,
                                       QStringLiteral("--type"), QStringLiteral("smrt")})
                     .exitCode,
                 0);
        QCOMPARE(PhotoAppProcess::run({QStringLiteral("album"), QStringLiteral("create"), lib, kAlbumName})
                     .exitCode,
                 0);
        ScriptedDelegate delegate;
        const Run run = detectAndRecover(delegate);
        QCOMPARE(run.outcome.recovered, 4);

        const QList<iPhotoAlbum> albums = albumsNamed(kAlbumName);
        QCOMPARE(albums.size(), 3);
        QCOMPARE(albums[0].type(), PhotoAppWire::kAlbumTypeSmart);
        QCOMPARE(albums[0].photoCount(), 0);
        QCOMPARE(albums[1].type(), PhotoAppWire::kAlbumTypePlain);
        QCOMPARE(albums[1].photoCount(), 4);
        QCOMPARE(albums[2].photoCount(), 0);
        QCOMPARE(FileTree::lost(before, FileTree::contents({masters, tmp})), QList<QByteArray>{});
    }

    // What the application refuses goes back to exactly where it was, under its very name,
    // also when the temporary directory lies on another file system.
    void refusedZombiesGoBack() {
        PhotoAppProcess app;
        makeLibraryWithZombies(app);
        QTemporaryDir shm(QStringLiteral("/dev/shm/vup-zombies-XXXXXX"));
        const QByteArray tmp = useTemporaryDirectory(shm.isValid() ? QFile::encodeName(shm.path()) : root);
        auto removeTmp = qScopeGuard([&] { FileTree::removeAll(tmp); });
        const QByteArray notAnImage = masters + "/2020/x/notes.jpg";
        const QByteArray oddName = masters + "/2020/x/caf\xe9-\xff.jpg";
        QVERIFY(FileTree::write(notAnImage, "just some text, not a picture"));
        QVERIFY(FileTree::write(oddName, FileTree::read(masters + "/2020/x/Same.jpg") + "odd"));
        const auto before = FileTree::contents({masters, tmp});

        ScriptedDelegate delegate;
        LogCapture log;
        const Run run = detectAndRecover(delegate);
        QCOMPARE(run.outcome.moved, 6);
        QCOMPARE(run.outcome.recovered, 4);
        QCOMPARE(run.outcome.putBack, 2);
        QVERIFY(run.outcome.folderRemoved);
        QCOMPARE(FileTree::read(notAnImage), QByteArray("just some text, not a picture"));
        QVERIFY(FileTree::exists(oddName));
        QVERIFY(log.contains(QStringLiteral("Zombie put back: ") + QFile::decodeName(notAnImage)));
        QCOMPARE(FileTree::lost(before, FileTree::contents({masters, tmp})), QList<QByteArray>{});
        const QList<iPhotoAlbum> albums = albumsNamed(kAlbumName);
        QCOMPARE(albums.size(), 1);
        QCOMPARE(albums[0].photoCount(), 4);
    }

    // Two zombies of one name and one size in two folders, and the application refuses the
    // first: the photo it made of the second must not vouch for the refused one.
    void refusedTwinIsNotTakenForItsImportedTwin() {
        PhotoAppProcess app;
        makeLibraryWithZombies(app);
        const QByteArray tmp = useTemporaryDirectory(root);
        QByteArray unreadable = FileTree::read(masters + "/2020/x/Same.jpg");
        QVERIFY(unreadable.size() > 16);
        unreadable.replace(0, 16, QByteArray(16, 'X')); // no longer an image, same size
        const QByteArray refusedTwin = masters + "/2020/p/Twin.jpg";
        const QByteArray importedTwin = masters + "/2020/q/Twin.jpg";
        QVERIFY(FileTree::write(refusedTwin, unreadable));
        QVERIFY(FileTree::write(importedTwin, FileTree::read(masters + "/2020/x/Same.jpg")));
        const auto before = FileTree::contents({masters, tmp});

        ScriptedDelegate delegate;
        Run run;
        auto photoApp = application();
        const QVariantList masterPaths = masterPathsOf();
        QVERIFY(runOnScanThread([&] {
            run.zombies = ZombieDetector::detectZombies(masterPaths, &delegate);
            // The refused one first, so that it is the first to look for its photo.
            run.zombies.removeAll(refusedTwin);
            run.zombies.prepend(refusedTwin);
            ZombieRecovery recovery(photoApp, &delegate);
            recovery.setClock([] { return kRunStart; });
            recovery.setPollInterval(std::chrono::milliseconds(50));
            run.outcome = recovery.recoverZombies(run.zombies);
        }));
        QCOMPARE(run.zombies.size(), 6);
        QCOMPARE(run.outcome.recovered, 5);
        QCOMPARE(run.outcome.putBack, 1);
        QCOMPARE(FileTree::read(refusedTwin), unreadable);
        QVERIFY(!FileTree::exists(importedTwin));
        QCOMPARE(FileTree::lost(before, FileTree::contents({masters, tmp})), QList<QByteArray>{});
    }

    // A dead application must neither hang the run nor take the zombies with it.
    void applicationKilledDuringImport() {
        PhotoAppProcess app;
        makeLibraryWithZombies(app);
        const QByteArray tmp = useTemporaryDirectory(root);
        QVERIFY(slowImports(library, 60000));
        const auto before = FileTree::contents({masters, tmp});
        // Once every zombie is parked, kill the application as soon as its import runs.
        QTimer killer;
        killer.setInterval(50);
        connect(&killer, &QTimer::timeout, [&] {
            if (application()->importing()) {
                killer.stop();
                app.kill();
            }
        });
        ScriptedDelegate delegate;
        delegate.onProgressValue = [&](double value) {
            if (value == 4.0)
                killer.start();
        };
        const Run run = detectAndRecover(delegate);
        QVERIFY(!app.isRunning());
        QVERIFY(run.outcome.albumFound);
        QCOMPARE(run.outcome.recovered, 0);
        QCOMPARE(run.outcome.putBack, 4);
        for (const QByteArray& zombie : run.zombies)
            QVERIFY(FileTree::exists(zombie));
        QVERIFY(!FileTree::exists(run.outcome.zombieFolder));
        QCOMPARE(FileTree::lost(before, FileTree::contents({masters, tmp})), QList<QByteArray>{});
    }

    // A photo that names the parked file itself (taken where it lay, not copied) does not make
    // that file disposable: deleting it would delete the photo's only copy.
    void photoOfTheParkedFileItselfKeepsIt() {
        PhotoAppProcess app;
        makeLibraryWithZombies(app);
        const QByteArray tmp = useTemporaryDirectory(root);
        const QByteArray notAnImage = masters + "/2020/x/notes.jpg";
        QVERIFY(FileTree::write(notAnImage, "just some text, not a picture"));
        const QString lib = QFile::decodeName(library);
        QVERIFY(slowImports(library, 2000));
        const auto before = FileTree::contents({masters, tmp});
        const QByteArray parked = tmp + "/Vupzombies-2014-02-03-091500" + notAnImage;

        // While the import runs, the album gains a photo of the parked file in place.
        bool added = false;
        QTimer adder;
        adder.setInterval(50);
        connect(&adder, &QTimer::timeout, [&] {
            const QList<iPhotoAlbum> albums = albumsNamed(kAlbumName);
            if (albums.isEmpty() || !application()->importing())
                return;
            adder.stop();
            const QString path = QFile::decodeName(parked);
            added = PhotoAppProcess::run({QStringLiteral("photo"), QStringLiteral("add-record"), lib,
                                          QStringLiteral("--image"), path, QStringLiteral("--original"), path,
                                          QStringLiteral("--album"), QString::number(albums[0].id())})
                        .exitCode == 0;
        });
        adder.start();
        ScriptedDelegate delegate;
        const Run run = detectAndRecover(delegate);
        QVERIFY(added);
        QCOMPARE(run.outcome.moved, 5);
        QCOMPARE(run.outcome.recovered, 4);
        QCOMPARE(run.outcome.putBack, 1);
        QCOMPARE(FileTree::read(notAnImage), QByteArray("just some text, not a picture"));
        QCOMPARE(FileTree::lost(before, FileTree::contents({masters, tmp})), QList<QByteArray>{});
    }

    // A refused zombie whose place was taken meanwhile replaces nothing: it stays in the
    // zombie folder, which is then kept, and the log says where it is.
    void putBackNeverReplaces() {
        PhotoAppProcess app;
        makeLibraryWithZombies(app);
        const QByteArray tmp = useTemporaryDirectory(root);
        const QByteArray refused = masters + "/2020/x/notes.jpg";
        QVERIFY(FileTree::write(refused, "just some text, not a picture"));
        const auto before = FileTree::contents({masters, tmp});
        const QVariantList masterPaths = masterPathsOf();

        ScriptedDelegate delegate;
        // The refused zombie moves first; once it has, someone else's file takes its place.
        delegate.onProgressValue = [&](double value) {
            if (value == 2.0)
                QVERIFY(FileTree::write(refused, "a newcomer"));
        };
        LogCapture log;
        Run run;
        auto photoApp = application();
        QVERIFY(runOnScanThread([&] {
            run.zombies = ZombieDetector::detectZombies(masterPaths, &delegate);
            run.zombies.removeAll(refused);
            run.zombies.prepend(refused);
            ZombieRecovery recovery(photoApp, &delegate);
            recovery.setClock([] { return kRunStart; });
            recovery.setPollInterval(std::chrono::milliseconds(50));
            run.outcome = recovery.recoverZombies(run.zombies);
        }));
        QCOMPARE(run.outcome.moved, 5);
        QCOMPARE(run.outcome.recovered, 4);
        QCOMPARE(run.outcome.keptInFolder, 1);
        QVERIFY(!run.outcome.folderRemoved);
        QCOMPARE(FileTree::read(refused), QByteArray("a newcomer"));
        const QByteArray parked = run.outcome.zombieFolder + refused;
        QCOMPARE(FileTree::read(parked), QByteArray("just some text, not a picture"));
        QVERIFY(log.contains(QStringLiteral("Zombie could not be put back and stays in ")));
        QCOMPARE(FileTree::lost(before, FileTree::contents({masters, tmp})), QList<QByteArray>{});
    }

    // Quitting or Ctrl-C while a long import runs: the wait ends at once instead of holding the
    // zombies in the temporary directory until the process is killed.
    void cancelledDuringImport() {
        PhotoAppProcess app;
        makeLibraryWithZombies(app);
        const QByteArray tmp = useTemporaryDirectory(root);
        QVERIFY(slowImports(library, 60000));
        const auto before = FileTree::contents({masters, tmp});
        ScriptedDelegate delegate;
        QTimer canceller;
        canceller.setInterval(50);
        connect(&canceller, &QTimer::timeout, [&] {
            if (application()->importing()) {
                canceller.stop();
                delegate.cancelledValue = true;
            }
        });
        delegate.onProgressValue = [&](double value) {
            if (value == 4.0)
                canceller.start();
        };
        LogCapture log;
        QElapsedTimer took;
        took.start();
        const Run run = detectAndRecover(delegate);
        QVERIFY2(took.elapsed() < 30000, "the wait outlasted the cancel");
        QVERIFY(application()->importing()); // the import itself was still going
        QCOMPARE(run.outcome.moved, 4);
        QCOMPARE(run.outcome.recovered + run.outcome.putBack, 4);
        QCOMPARE(run.outcome.keptInFolder, 0);
        QVERIFY(!FileTree::exists(run.outcome.zombieFolder));
        QVERIFY(log.contains(QStringLiteral("the run was cancelled")));
        QCOMPARE(FileTree::lost(before, FileTree::contents({masters, tmp})), QList<QByteArray>{});
    }

    void noAlbumFound() {
        PhotoAppProcess app;
        makeLibraryWithZombies(app);
        const QByteArray tmp = useTemporaryDirectory(root);
        const auto before = FileTree::contents({masters, tmp});
        ScriptedDelegate delegate;
        LogCapture log;
        // The application quits between detection and recovery: no album can be made.
        const Run run = detectAndRecover(delegate, [&] {
            MainThread::run(
                &delegate, [&app] { app.stop(); }, MainThread::Wait::Yes);
        });
        QVERIFY(!run.outcome.albumFound);
        QCOMPARE(run.outcome.moved, 4);
        QCOMPARE(run.outcome.putBack, 4);
        QVERIFY(run.outcome.folderRemoved);
        for (const QByteArray& zombie : run.zombies)
            QVERIFY(FileTree::exists(zombie));
        QVERIFY(log.contains(QStringLiteral("No album named ") + kAlbumName));
        QCOMPARE(FileTree::lost(before, FileTree::contents({masters, tmp})), QList<QByteArray>{});
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

    // Someone else's folder of the same name in a shared temporary directory gets no photos.
    void foreignZombieFolderIsRefused() {
        PhotoAppProcess app;
        makeLibraryWithZombies(app);
        const QByteArray tmp = useTemporaryDirectory(root);
        const QByteArray folder = tmp + "/Vupzombies-2014-02-03-091500";
        QVERIFY(::mkdir(folder.constData(), 0777) == 0);
        QVERIFY(::chmod(folder.constData(), 0777) == 0);
        const QList<QByteArray> before = FileTree::files(masters);
        ScriptedDelegate delegate;
        LogCapture log;
        const Run run = detectAndRecover(delegate);
        QCOMPARE(run.zombies.size(), 4);
        QCOMPARE(run.outcome.moved, 0);
        QCOMPARE(FileTree::files(masters), before);
        QVERIFY(FileTree::files(folder).isEmpty());
        QVERIFY(albumsNamed(kAlbumName).isEmpty());
        QVERIFY(log.contains(QStringLiteral("Zombie recovery skipped")));
    }

    void temporaryDirectoryIsTheUsersOwn() {
        qunsetenv("TMPDIR");
        const QByteArray oldCache = qgetenv("XDG_CACHE_HOME");
        qputenv("XDG_CACHE_HOME", root + "/cache");
        auto restore = qScopeGuard([&] {
            if (oldCache.isEmpty())
                qunsetenv("XDG_CACHE_HOME");
            else
                qputenv("XDG_CACHE_HOME", oldCache);
        });
        const QString path = TemporaryDirectory::path();
        QCOMPARE(path, QFile::decodeName(root) + QStringLiteral("/cache/vup/tmp"));
        struct stat st {};
        QVERIFY(::stat(QFile::encodeName(path).constData(), &st) == 0);
        QCOMPARE(st.st_mode & 0777, mode_t(0700));

        qputenv("TMPDIR", root + "/given/");
        QCOMPARE(TemporaryDirectory::path(), QFile::decodeName(root) + QStringLiteral("/given"));
    }

    // The whole headless run on a demo library: first a dry run that changes nothing, then
    // the run that recovers the zombies into a dated album and tags the rest.
    void headlessLibraryScan() {
        QVERIFY(::mkdir((root + "/Pictures").constData(), 0755) == 0);
        QCOMPARE(PhotoAppProcess::run({QStringLiteral("demo"), QFile::decodeName(library)}).exitCode, 0);
        PhotoAppProcess app;
        QVERIFY(app.serve(QFile::decodeName(library)));
        const QByteArray tmp = useTemporaryDirectory(root);
        const QList<QByteArray> filesBefore = FileTree::files(masters);
        const auto before = FileTree::contents({masters, tmp});

        QProcess dry;
        dry.start(QStringLiteral(VUP_EXECUTABLE),
                  {QStringLiteral("scan"), QStringLiteral("--library"), QStringLiteral("--recover-zombies"),
                   QStringLiteral("--yes"), QStringLiteral("--dry-run")});
        QVERIFY(dry.waitForFinished(60000));
        QCOMPARE(dry.exitCode(), 0);
        const QByteArray dryOut = dry.readAllStandardOutput();
        QCOMPARE(dryOut.count("would recover zombie: "), 2);
        QCOMPARE(FileTree::files(masters), filesBefore);

        QProcess run;
        run.start(QStringLiteral(VUP_EXECUTABLE),
                  {QStringLiteral("scan"), QStringLiteral("--library"), QStringLiteral("--recover-zombies"),
                   QStringLiteral("--yes")});
        QVERIFY(run.waitForFinished(60000));
        const QByteArray out = run.readAllStandardOutput();
        QVERIFY2(run.exitCode() == 0, out + run.readAllStandardError());
        QVERIFY(out.contains("2 Zombies were detected and re-added to your library."));
        QCOMPARE(out.count("tagged \""), 5);
        QList<iPhotoAlbum> zombieAlbums;
        for (const iPhotoAlbum& album : application()->albums())
            if (album.name().startsWith(QStringLiteral("Vup Zombies ")) &&
                album.type() == PhotoAppWire::kAlbumTypePlain)
                zombieAlbums.append(album);
        QCOMPARE(zombieAlbums.size(), 1);
        QCOMPARE(zombieAlbums[0].photoCount(), 2);
        for (const QByteArray& line : dryOut.split('\n'))
            if (line.startsWith("would recover zombie: "))
                QVERIFY(!FileTree::exists(line.mid(22)));
        QVERIFY(FileTree::files(tmp).isEmpty());
        QCOMPARE(FileTree::lost(before, FileTree::contents({masters, tmp})), QList<QByteArray>{});
    }

    // ---- moves ----

    void moveNeverReplaces() {
        const QByteArray from = root + "/from.jpg";
        const QByteArray to = root + "/to.jpg";
        QVERIFY(FileTree::write(from, "mine"));
        QVERIFY(FileTree::write(to, "theirs"));
        QCOMPARE(SafeMove::moveItem(from, to), SafeMove::Outcome::TargetExists);
        QCOMPARE(FileTree::read(from), QByteArray("mine"));
        QCOMPARE(FileTree::read(to), QByteArray("theirs"));
        QCOMPARE(SafeMove::moveItem(root + "/gone.jpg", to), SafeMove::Outcome::SourceMissing);
    }

    void moveAcrossFileSystems() {
        QTemporaryDir other(QStringLiteral("/dev/shm/vup-zombies-XXXXXX"));
        struct stat here {
        }, there{};
        if (!other.isValid() || ::stat(root.constData(), &here) != 0 ||
            ::stat(QFile::encodeName(other.path()).constData(), &there) != 0 || here.st_dev == there.st_dev)
            QSKIP("no second file system to move across");
        auto removeOther = qScopeGuard([&] { FileTree::removeAll(QFile::encodeName(other.path())); });
        const QByteArray from = root + "/a/\xff-photo.jpg";
        const QByteArray content(300000, 'x');
        QVERIFY(FileTree::write(from, content));
        QVERIFY(::chmod(from.constData(), 0640) == 0);
        struct stat before {};
        QVERIFY(::stat(from.constData(), &before) == 0);
        const QByteArray targetDir = QFile::encodeName(other.path()) + "/deep/er";
        QVERIFY(SafeMove::makePath(targetDir));
        const QByteArray to = targetDir + "/\xff-photo.jpg";
        QCOMPARE(SafeMove::moveItem(from, to), SafeMove::Outcome::Moved);
        QVERIFY(!FileTree::exists(from));
        QCOMPARE(FileTree::read(to), content);
        struct stat after {};
        QVERIFY(::stat(to.constData(), &after) == 0);
        QCOMPARE(after.st_mode & 07777, mode_t(0640));
        QCOMPARE(after.st_mtim.tv_sec, before.st_mtim.tv_sec);

        QVERIFY(::symlink("somewhere", (root + "/link").constData()) == 0);
        QCOMPARE(SafeMove::moveItem(root + "/link", targetDir + "/link"), SafeMove::Outcome::Moved);
        char target[64] = {};
        QCOMPARE(::readlink((targetDir + "/link").constData(), target, sizeof target - 1), ssize_t(9));
        QCOMPARE(QByteArray(target), QByteArray("somewhere"));

        // Back again, and the folders left empty go while files stay.
        QCOMPARE(SafeMove::moveItem(to, from), SafeMove::Outcome::Moved);
        QCOMPARE(FileTree::read(from), content);
        QVERIFY(!SafeMove::removeEmptyFolders(QFile::encodeName(other.path())));
        QVERIFY(FileTree::exists(targetDir + "/link"));
        QVERIFY(!FileTree::exists(targetDir + "/er"));
    }
};

VUP_TEST_MAIN_CORE(ZombieTests)
#include "tst_zombies.moc"
