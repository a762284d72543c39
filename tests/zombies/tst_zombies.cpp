#include "bridge/iPhotoTypes.h"
#include "platform/SystemLog.h"
#include "scan/SafeMove.h"
#include "scan/ZombieDetector.h"
#include "tests/support/AsNobody.h"
#include "tests/support/ScriptedDelegate.h"
#include "tests/support/TestMain.h"
#include "tests/zombies/FileTree.h"

#include <QFile>
#include <QScopeGuard>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

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

} // namespace

class ZombieTests : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> temp;
    QByteArray root;
    QByteArray library;
    QByteArray masters;

private slots:
    void init() {
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
