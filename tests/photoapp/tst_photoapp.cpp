/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
// The stand-in photo application as Vup meets it: real photoapp processes on the test's private
// bus, real libraries in temporary folders, requests as plain D-Bus messages or through the bridge.

#include "bridge/iPhotoBridge.h"
#include "tests/photoapp/IptcKeywords.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/FileTree.h"
#include "tests/support/PhotoAppProcess.h"
#include "tests/support/TestMain.h"
#include "wire/PhotoAppWire.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcessEnvironment>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <csignal>
#include <cstring>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

const QString kKeywordImage = QStringLiteral(VUP_KEYWORD_IMAGE);
const QString kMissing = QStringLiteral("Vup Missing");
const QString kMasterMissing = QStringLiteral("Vup Master Missing");
constexpr qint64 kLargeFile = qint64(256) << 20; // sparse: no disk is spent on it

QDBusMessage call(const QString& path, const char* interface, const char* method,
                  const QVariantList& args = {}) {
    return PhotoAppProcess::request(path, interface, method, args);
}

QDBusMessage app(const char* method, const QVariantList& args = {}) {
    return call(QString::fromLatin1(PhotoAppWire::kApplicationPath), PhotoAppWire::kApplicationInterface,
                method, args);
}

QDBusMessage photo(qint64 id, const char* method, const QVariantList& args = {}) {
    return call(PhotoAppWire::photoPath(id), PhotoAppWire::kPhotoInterface, method, args);
}

QDBusMessage album(const QString& path, const char* method, const QVariantList& args = {}) {
    return call(path, PhotoAppWire::kAlbumInterface, method, args);
}

QVariant answer(const QDBusMessage& reply) {
    return reply.arguments().value(0);
}

QJsonArray photosIn(const QJsonObject& dump) {
    return dump.value(QLatin1StringView("photos")).toArray();
}

// The two out arguments of a property answer.
struct PropertyAnswer {
    QVariantMap values;
    QStringList nullKeys;
};

PropertyAnswer properties(const QDBusMessage& reply) {
    PropertyAnswer a;
    reply.arguments().value(0).value<QDBusArgument>() >> a.values;
    a.nullKeys = reply.arguments().value(1).toStringList();
    return a;
}

// The photo or album of the dump with that id.
QJsonObject withId(const QJsonObject& dump, const char* list, qint64 id) {
    for (const QJsonValue& v : dump.value(QLatin1StringView(list)).toArray()) {
        if (v.toObject().value(QLatin1StringView("id")).toInteger() == id)
            return v.toObject();
    }
    return {};
}

QList<qint64> ids(const QJsonValue& array) {
    QList<qint64> result;
    for (const QJsonValue& v : array.toArray())
        result.append(v.toInteger());
    return result;
}

QStringList strings(const QJsonValue& array) {
    QStringList result;
    for (const QJsonValue& v : array.toArray())
        result.append(v.toString());
    return result;
}

QStringList filesBelow(const QString& dir) {
    QStringList files;
    QDirIterator it(dir, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(it.next());
    return files;
}

// The (path, reason) pairs of an `a(ss)` answer.
QList<QPair<QString, QString>> refusals(const QVariant& value) {
    QList<QPair<QString, QString>> result;
    const QDBusArgument arg = value.value<QDBusArgument>();
    arg.beginArray();
    while (!arg.atEnd()) {
        QString path;
        QString reason;
        arg.beginStructure();
        arg >> path >> reason;
        arg.endStructure();
        result.append({path, reason});
    }
    arg.endArray();
    return result;
}

bool makeFifo(const QString& path) {
    return ::mkfifo(QFile::encodeName(path).constData(), 0644) == 0;
}

// A Unix socket file; it outlives the descriptor that made it.
bool makeSocket(const QString& path) {
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    if (name.size() >= qsizetype(sizeof address.sun_path))
        return false;
    std::memcpy(address.sun_path, name.constData(), static_cast<size_t>(name.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const bool made = fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    if (fd >= 0)
        ::close(fd);
    return made;
}

bool makeLink(const QString& target, const QString& path) {
    return ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(path).constData()) == 0;
}

// `photoapp ARGS...` with `inChild` run in the child before photoapp starts.
PhotoAppProcess::Result runWith(const std::function<void()>& inChild, const QStringList& args) {
    ChildProcess p(PhotoAppProcess::executable(), args, {}, [inChild](QProcess& process) {
        process.setChildProcessModifier([inChild] {
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            inChild();
        });
    });
    const int code = p.wait(60000);
    return {code, p.out, p.err};
}

// Every photo's master is in Masters and every file in Masters is a photo's: nothing partial,
// nothing without its row.
bool mastersMatchRows(const QString& library) {
    QStringList rows;
    for (const QJsonValue& p : photosIn(PhotoAppProcess::dump(library)))
        rows.append(p.toObject().value(QLatin1StringView("originalPath")).toString());
    QStringList files = filesBelow(library + QStringLiteral("/Masters"));
    rows.sort();
    files.sort();
    if (rows != files)
        qWarning() << "rows" << rows << "files" << files;
    return rows == files;
}

// The state letter of /proc/PID/stat: 'T' once the process has stopped itself.
char processState(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray line = stat.readAll();
    const qsizetype close = line.lastIndexOf(')');
    return close > 0 && close + 2 < line.size() ? line.at(close + 2) : char(0);
}

// The ImportFinished signals the service sends.
class ImportSignals : public QObject {
    Q_OBJECT
public:
    ImportSignals() {
        QDBusConnection::sessionBus().connect(QString(), QString::fromLatin1(PhotoAppWire::kApplicationPath),
                                              QString::fromLatin1(PhotoAppWire::kApplicationInterface),
                                              QString::fromLatin1(PhotoAppWire::kImportFinishedSignal), this,
                                              SLOT(received(QDBusMessage)));
    }
    QList<QDBusMessage> messages;

public slots:
    void received(const QDBusMessage& m) { messages.append(m); }
};

} // namespace

class tst_PhotoApp : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    int counter = 0;
    QString strictLibrary; // shared by the rows of strictInterface

    QString newPath(const QString& name) {
        return dir.filePath(QStringLiteral("%1-%2").arg(++counter).arg(name));
    }

    // A demo library with the given counts; fails the test when it cannot be made.
    QString demo(int photos, int missingImages = 0, int missingMasters = 0, int zombies = 0) {
        const QString library = newPath(QStringLiteral("Demo.photolibrary"));
        const auto r = photoapp("demo", library, "--photos", QString::number(photos), "--missing-images",
                                QString::number(missingImages), "--missing-masters",
                                QString::number(missingMasters), "--zombies", QString::number(zombies));
        if (r.exitCode != 0)
            qWarning("demo failed: %s", r.err.constData());
        return library;
    }

    QString keywordJpeg(const QString& name, const QStringList& keywords) {
        const QString path = newPath(name);
        const auto r = PhotoAppProcess::run(QStringList{QStringLiteral("keyword-image"), path} + keywords);
        if (r.exitCode != 0)
            qWarning("keyword-image failed: %s", r.err.constData());
        return path;
    }

private slots:
    void initTestCase() { QVERIFY(dir.isValid()); }

    void createImportAndDumpAgree() {
        const QString library = newPath(QStringLiteral("Trip.photolibrary"));
        QCOMPARE(photoapp("create", library).exitCode, 0);
        const QString source = newPath(QStringLiteral("source"));
        QVERIFY(QDir().mkpath(source + QStringLiteral("/nested")));
        const QString a = keywordJpeg(QStringLiteral("a.jpg"), {QStringLiteral("Beach")});
        QVERIFY(QFile::copy(a, source + QStringLiteral("/IMG_0001.jpg")));
        QVERIFY(QFile::copy(a, source + QStringLiteral("/nested/IMG_0001.jpg"))); // same name, other folder

        const auto r = photoapp("import", library, source, "--album", "Trip");
        QVERIFY2(r.exitCode == 0, r.err.constData());

        const QJsonObject dump = PhotoAppProcess::dump(library);
        const QJsonArray photos = photosIn(dump);
        QCOMPARE(photos.size(), 2);
        QSet<QString> masters;
        for (const QJsonValue& v : photos) {
            const QJsonObject p = v.toObject();
            const QString master = p.value(QLatin1StringView("originalPath")).toString();
            QCOMPARE(p.value(QLatin1StringView("width")).toInt(), 64);
            QCOMPARE(p.value(QLatin1StringView("height")).toInt(), 48);
            QCOMPARE(strings(p.value(QLatin1StringView("keywords"))), QStringList{QStringLiteral("Beach")});
            QCOMPARE(ids(p.value(QLatin1StringView("albums"))).size(), 2);
            masters.insert(master);
        }
        QCOMPARE(masters.size(), 2); // the colliding name got a name of its own
        QVERIFY(
            masters.contains(QFileInfo(*masters.cbegin()).absolutePath() + QStringLiteral("/IMG_0001.jpg")));
        QVERIFY(QFile::exists(source + QStringLiteral("/IMG_0001.jpg"))); // copied, not moved

        const qint64 libraryAlbum = dump.value(QLatin1StringView("libraryAlbum")).toInteger();
        QCOMPARE(withId(dump, "albums", libraryAlbum).value(QLatin1StringView("type")).toInteger(),
                 qint64(PhotoAppWire::kAlbumTypeLibrary));
        bool foundTrip = false;
        for (const QJsonValue& v : dump.value(QLatin1StringView("albums")).toArray()) {
            const QJsonObject album = v.toObject();
            if (album.value(QLatin1StringView("name")).toString() != QLatin1StringView("Trip"))
                continue;
            foundTrip = true;
            QCOMPARE(album.value(QLatin1StringView("type")).toInteger(),
                     qint64(PhotoAppWire::kAlbumTypePlain));
            QCOMPARE(ids(album.value(QLatin1StringView("photos"))).size(), 2);
        }
        QVERIFY(foundTrip);
    }

    void refusesACatalogueThatIsNotSqlite() {
        const QString library = newPath(QStringLiteral("Broken.photolibrary"));
        QCOMPARE(photoapp("create", library).exitCode, 0);
        const QString catalogue = library + QStringLiteral("/Database/Library.sqlite");
        QVERIFY(QFile::remove(catalogue));
        QVERIFY(QFile::copy(QStringLiteral(VUP_TEST_DATA_DIR "/not-a-catalogue.sqlite"), catalogue));
        const QByteArray before = FileTree::read(catalogue);

        const QList<QStringList> commands = {
            {QStringLiteral("dump"), library},
            {QStringLiteral("serve"), library},
            {QStringLiteral("import"), library, kKeywordImage},
            {QStringLiteral("keyword"), QStringLiteral("add"), library, kMissing}};
        for (const QStringList& command : commands) {
            const auto r = PhotoAppProcess::run(command);
            QCOMPARE(r.exitCode, 1);
            QVERIFY2(r.err.contains(catalogue.toUtf8()) && r.err.contains("not an SQLite database"),
                     r.err.constData());
        }
        QCOMPARE(FileTree::read(catalogue), before);
        QVERIFY(!QFile::exists(catalogue + QStringLiteral("-wal")));
    }

    void importThatCannotHaveTheCatalogueLeavesNoHalfRecord() {
        const QString library = newPath(QStringLiteral("Locked.photolibrary"));
        QCOMPARE(photoapp("create", library).exitCode, 0);
        {
            // Another writer holds the catalogue past photoapp's patience, then lets go.
            QSqlDatabase other =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
            other.setDatabaseName(library + QStringLiteral("/Database/Library.sqlite"));
            QVERIFY(other.open());
            // A window killed while it showed the library left its change log behind.
            QVERIFY(QSqlQuery(other).exec(QStringLiteral("CREATE TABLE change_log (seq INTEGER PRIMARY KEY, "
                                                         "kind INTEGER, a INTEGER, b INTEGER)")));
            QVERIFY(QSqlQuery(other).exec(
                QStringLiteral("CREATE TRIGGER change_log_photo_added AFTER INSERT ON photos BEGIN INSERT "
                               "INTO change_log (kind, a) VALUES (1, NEW.id); END")));
            QVERIFY(QSqlQuery(other).exec(QStringLiteral("BEGIN IMMEDIATE")));
            ChildProcess import(PhotoAppProcess::executable(),
                                {QStringLiteral("import"), library, kKeywordImage});
            const bool gaveUpWhileLocked = import.process.waitForFinished(15000);
            QVERIFY(QSqlQuery(other).exec(QStringLiteral("ROLLBACK")));
            other.close();
            QCOMPARE(import.wait(gaveUpWhileLocked ? 0 : 30000), 1);
            QVERIFY2(import.err.contains("locked"), "the reason is not told");
        }
        QSqlDatabase::removeDatabase(QStringLiteral("other"));
        // Neither a record without its file nor a file without its record.
        QVERIFY(photosIn(PhotoAppProcess::dump(library)).isEmpty());
        QVERIFY(filesBelow(library + QStringLiteral("/Masters")).isEmpty());
        // The next import, with the catalogue free, goes through.
        QCOMPARE(photoapp("import", library, kKeywordImage).exitCode, 0);
        QCOMPARE(photosIn(PhotoAppProcess::dump(library)).size(), 1);
        // A plain service takes the log and its trigger away.
        {
            PhotoAppProcess server;
            QVERIFY(server.serve(library));
        }
        QSqlDatabase check = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check"));
        check.setDatabaseName(library + QStringLiteral("/Database/Library.sqlite"));
        QVERIFY(check.open());
        QSqlQuery left(check);
        QVERIFY(left.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE name LIKE 'change_log%'")));
        QVERIFY(!left.next());
        left.finish();
        check.close();
        check = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("check"));
    }

    // Its counts of missing images, missing masters and zombies are what the scan tests find in it;
    // here, what a scan would not notice.
    void demoLibraryHasWhatItPromises() {
        const QString library = demo(30, 3, 2, 4);
        QVERIFY(PhotoAppProcess::dump(library).value(QLatin1StringView("keywords")).toArray().isEmpty());
        const QStringList files = filesBelow(library + QStringLiteral("/Masters"));
        QCOMPARE(files.size(), 30 - 3 - 2 + 4);
        QSet<QByteArray> contents;
        for (const QString& file : files) {
            contents.insert(FileTree::read(file));
            QCOMPARE(QImage(file).size(), QSize(64, 48));
        }
        // No two files alike, as no two photos are.
        QCOMPARE(contents.size(), files.size());

        QVERIFY(photoapp("demo", newPath("Too.photolibrary"), "--photos", "2", "--missing-images", "3")
                    .exitCode == 1);
    }

    void propertiesTellValueMissingValueAndAbsentApart() {
        const QString library = demo(3);
        PhotoAppProcess server;
        QVERIFY(server.serve(library));
        QCOMPARE(photoapp("fault", library, "--photo", "2", "--null", PhotoAppWire::kImagePath).exitCode, 0);
        QCOMPARE(photoapp("fault", library, "--photo", "2", "--absent", PhotoAppWire::kWidth).exitCode, 0);
        QCOMPARE(photoapp("fault", library, "--photo", "3", "--fail-properties").exitCode, 0);
        // Asking for a fault on a photo that does not exist is an error, not a silent no-op.
        QCOMPARE(photoapp("fault", library, "--photo", "99", "--fail-properties").exitCode, 1);

        const PropertyAnswer whole = properties(photo(1, "Properties"));
        QCOMPARE(whole.values.size(), 7);
        QVERIFY(whole.nullKeys.isEmpty());
        QCOMPARE(whole.values.value(QString::fromLatin1(PhotoAppWire::kId)).metaType(),
                 QMetaType::fromType<qint64>());
        QCOMPARE(whole.values.value(QString::fromLatin1(PhotoAppWire::kDate)).metaType(),
                 QMetaType::fromType<qint64>());
        QCOMPARE(whole.values.value(QString::fromLatin1(PhotoAppWire::kWidth)).toInt(), 64);

        const PropertyAnswer faulty = properties(photo(2, "Properties"));
        QCOMPARE(faulty.nullKeys, QStringList{QString::fromLatin1(PhotoAppWire::kImagePath)});
        QVERIFY(!faulty.values.contains(QString::fromLatin1(PhotoAppWire::kImagePath)));
        QVERIFY(!faulty.values.contains(QString::fromLatin1(PhotoAppWire::kWidth)));
        QCOMPARE(faulty.values.size(), 5);

        // The bridge reads the date as an instant; its null and absent values are checked where the
        // scan loads them.
        const auto application =
            iPhotoApplication::applicationWithBundleIdentifier(QString::fromLatin1(PhotoAppWire::kService));
        const QVariantMap seen = application->photoWithId(2).properties();
        QCOMPARE(seen.value(QString::fromLatin1(PhotoAppWire::kDate)).metaType().id(), QMetaType::QDateTime);

        // A photo whose properties fail fails alone; objects that do not exist are told apart.
        QCOMPARE(photo(3, "Properties").errorName(), QString::fromLatin1(PhotoAppWire::kErrorFailed));
        QCOMPARE(photo(99, "Properties").errorName(), QString::fromLatin1(PhotoAppWire::kErrorNoSuchObject));
        QCOMPARE(album(PhotoAppWire::albumPath(99), "Name").errorName(),
                 QString::fromLatin1(PhotoAppWire::kErrorNoSuchObject));

        QCOMPARE(photoapp("fault", library, "--clear").exitCode, 0);
        QCOMPARE(properties(photo(2, "Properties")).values.size(), 7);
        QCOMPARE(photo(3, "Properties").type(), QDBusMessage::ReplyMessage);
    }

    void keywordFloodKeepsWithinTheCap() {
        const QString library = newPath(QStringLiteral("Flood.photolibrary"));
        QCOMPARE(photoapp("create", library).exitCode, 0);
        const QString jpeg = keywordJpeg(QStringLiteral("flood.jpg"), {QStringLiteral("Seed")});
        QList<QByteArray> keywords{QByteArray(300, 'x'), QByteArray("bad\0name", 8)};
        for (int i = 0; i < 100000; ++i)
            keywords.append(QByteArray("kw") + QByteArray::number(i).rightJustified(6, '0'));
        keywords.append("KW000000"); // the first one again, in other letters
        QString error;
        QVERIFY2(IptcKeywords::write(jpeg, keywords, &error), qPrintable(error));

        const auto r = photoapp("import", library, jpeg);
        QVERIFY2(r.exitCode == 0, r.err.constData());
        for (const char* told :
             {"kept its first 1000 keywords", "longer than 256 bytes", "holds a NUL character"})
            QVERIFY2(r.err.contains(told), r.err.constData());
        const QJsonObject dump = PhotoAppProcess::dump(library);
        const QStringList kept =
            strings(photosIn(dump).at(0).toObject().value(QLatin1StringView("keywords")));
        QCOMPARE(kept.size(), 1000);
        QCOMPARE(kept.constFirst(), QStringLiteral("kw000000"));
        QCOMPARE(kept.constLast(), QStringLiteral("kw000999"));
        QCOMPARE(dump.value(QLatin1StringView("keywords")).toArray().size(), 1000);
    }

    void strictInterface_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("interface");
        QTest::addColumn<QString>("member");
        QTest::addColumn<QVariantList>("args");
        QTest::addColumn<QString>("error");
        const QString invalid = QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs");
        const QString unknown = QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod");
        const QString noSuch = QString::fromLatin1(PhotoAppWire::kErrorNoSuchObject);
        const QString application = QString::fromLatin1(PhotoAppWire::kApplicationInterface);
        const QString albumIface = QString::fromLatin1(PhotoAppWire::kAlbumInterface);
        const QString photoIface = QString::fromLatin1(PhotoAppWire::kPhotoInterface);
        const QString control = QString::fromLatin1(PhotoAppWire::kControlInterface);
        const QString app = QString::fromLatin1(PhotoAppWire::kApplicationPath);
        const QString ctl = QString::fromLatin1(PhotoAppWire::kControlPath);
        const QString lib = PhotoAppWire::albumPath(1);
        const QVariant ghost = QVariant::fromValue(QList<QDBusObjectPath>{
            QDBusObjectPath(PhotoAppWire::photoPath(1)), QDBusObjectPath(PhotoAppWire::photoPath(99))});
        const QVariant leadingZero =
            QVariant::fromValue(QList<QDBusObjectPath>{QDBusObjectPath("/photos/01")});
        const auto row = [](const char* name, const QString& path, const QString& iface, const char* member,
                            const QVariantList& args, const QString& error) {
            QTest::newRow(name) << path << iface << QString::fromLatin1(member) << args << error;
        };
        row("extra argument", app, application, "Ping", QVariantList{1}, invalid);
        row("argument of another type", app, application, "NewAlbum", QVariantList{42}, invalid);
        row("argument missing", lib, albumIface, "ImportFrom", QVariantList{kKeywordImage}, invalid);
        row("relative import path, echoed shortened", lib, albumIface, "ImportFrom",
            QVariantList{QString(20000, u'p') + QStringLiteral(".jpg"), true}, invalid);
        row("text for an object path", PhotoAppWire::photoPath(1), photoIface, "RemoveFrom",
            QVariantList{lib}, invalid);
        row("introspection with an argument", app, "org.freedesktop.DBus.Introspectable", "Introspect",
            QVariantList{1}, invalid);
        row("over-long keyword", ctl, control, "AddKeyword", QVariantList{QString(300, u'k')}, invalid);
        row("non-canonical path in a selection", ctl, control, "SelectItems", QVariantList{leadingZero},
            invalid);
        row("leading zero", "/photos/01", photoIface, "Properties", QVariantList{}, noSuch);
        row("below a photo", "/photos/1/2", photoIface, "Properties", QVariantList{}, noSuch);
        row("id too large", "/photos/123456789012345678901", photoIface, "Properties", QVariantList{},
            noSuch);
        row("the collection", "/photos", photoIface, "Properties", QVariantList{}, noSuch);
        row("unknown photo", PhotoAppWire::photoPath(99), photoIface, "Select", QVariantList{}, noSuch);
        row("unknown keyword", PhotoAppWire::keywordPath(99),
            QString::fromLatin1(PhotoAppWire::kKeywordInterface), "Name", QVariantList{}, noSuch);
        row("fault for an unknown photo", ctl, control, "FailProperties", QVariantList{qint64(99)}, noSuch);
        row("key fault for an unknown photo", ctl, control, "SetNullKey",
            QVariantList{qint64(99), QStringLiteral("imagePath")}, noSuch);
        row("edit of an unknown photo", ctl, control, "EditPhoto", QVariantList{qint64(99)}, noSuch);
        row("ghost in a selection", ctl, control, "SelectItems", QVariantList{ghost}, noSuch);
        row("unknown method", app, application, "Frobnicate", QVariantList{}, unknown);
        row("method of another interface", app, photoIface, "Ping", QVariantList{}, unknown);
    }

    // Nothing a refused request carries changes anything: the selection stays, no fault is set.
    void strictInterface() {
        QFETCH(QString, path);
        QFETCH(QString, interface);
        QFETCH(QString, member);
        QFETCH(QVariantList, args);
        QFETCH(QString, error);
        if (strictLibrary.isEmpty())
            strictLibrary = demo(3);
        PhotoAppProcess server;
        QVERIFY(server.serve(strictLibrary));
        QCOMPARE(photoapp("select", strictLibrary, "--photos", "2").exitCode, 0);

        QDBusMessage m = QDBusMessage::createMethodCall(QString::fromLatin1(PhotoAppWire::kService), path,
                                                        interface, member);
        m.setArguments(args);
        const QDBusMessage reply = QDBusConnection::sessionBus().call(m, QDBus::Block, 10000);
        QCOMPARE(reply.errorName(), error);
        QVERIFY2(reply.errorMessage().size() < 400,
                 "what the request carried is echoed at a readable length");

        QCOMPARE(objectPaths(app("Selection")), QStringList{PhotoAppWire::photoPath(2)});
        QCOMPARE(properties(photo(1, "Properties")).values.size(), 7);
        QCOMPARE(answer(album(PhotoAppWire::albumPath(1), "PhotoCount")).toLongLong(), 3);
    }

    // One import of a folder holding every kind of item it must turn down beside two it takes: each
    // refusal reaches the caller with its reason, in the signal and in the last import's answer, and
    // a large file is turned down by its first bytes, never held whole. Named alone, what is no
    // regular file (or nothing at all) is turned down at once, before any import starts; so is any
    // import into the Trash, where a photo would sit in the library and the trash at once, or into
    // a smart album.
    void refusalsReachTheCaller() {
        const QString folder = newPath(QStringLiteral("incoming"));
        const auto in = [&](const char* name) {
            return folder + u'/' + QString::fromLatin1(name);
        };
        QVERIFY(QDir().mkpath(in("folder.jpg")));
        QVERIFY(QFile::copy(kKeywordImage, in("good.jpg")));
        QVERIFY(QFile::copy(QStringLiteral(VUP_TEST_DATA_DIR "/not-an-image.jpg"), in("text.jpg")));
        QFile large(in("large.jpg"));
        QVERIFY(large.open(QIODevice::WriteOnly) && large.resize(kLargeFile));
        large.close();
        // The headers and the first bytes of the picture, as a transfer that broke off leaves it.
        const QByteArray whole = FileTree::read(kKeywordImage);
        QVERIFY(FileTree::write(in("cut.jpg"), whole.left(whole.indexOf("\xFF\xDA") + 20)));
        QVERIFY(makeFifo(in("fifo.jpg")) && makeSocket(in("socket.jpg")) &&
                makeFifo(in("folder.jpg/IMG_0001.jpg")));
        QVERIFY(makeLink(QStringLiteral("/dev/zero"), in("out.jpg")) &&
                makeLink(in("good.jpg"), in("link.jpg")));
        const QByteArray odd = QFile::encodeName(folder) + "/caf\xe9.jpg";
        QVERIFY(QFile::copy(kKeywordImage, in("odd")));
        QVERIFY(::rename(QFile::encodeName(in("odd")).constData(), odd.constData()) == 0);
        // QTemporaryDir removes by QString names, which cannot spell this one.
        const auto unlinkOdd = qScopeGuard([odd] { ::unlink(odd.constData()); });
        const QString library = newPath(QStringLiteral("Refusals.photolibrary"));
        QCOMPARE(photoapp("create", library).exitCode, 0);
        const auto smart = photoapp("album", "create", library, "Recent", "--type", "smrt");
        QCOMPARE(smart.exitCode, 0);
        PhotoAppProcess server;
        QVERIFY(server.serve(library));
        ImportSignals finishedSignals;
        const QString libraryAlbum = PhotoAppWire::albumPath(1);
        const QList<QPair<QString, QString>> turnedAway{
            {libraryAlbum, in("fifo.jpg")},
            {libraryAlbum, in("socket.jpg")},
            {libraryAlbum, in("out.jpg")},
            {libraryAlbum, in("none.jpg")},
            {answer(app("TrashAlbum")).value<QDBusObjectPath>().path(), in("good.jpg")},
            {PhotoAppWire::albumPath(smart.out.trimmed().toLongLong()), in("good.jpg")}};
        for (const auto& [target, path] : turnedAway) {
            QElapsedTimer timer;
            timer.start();
            QCOMPARE(answer(album(target, "ImportFrom", {path, true})).toBool(), false);
            QVERIFY2(timer.elapsed() < 2000, qPrintable(path));
        }
        QCOMPARE(answer(album(libraryAlbum, "ImportFrom", {folder, true})).toBool(), true);
        QTRY_COMPARE_WITH_TIMEOUT(finishedSignals.messages.size(), 1, 10000);
        QVERIFY(!answer(app("Importing")).toBool());

        const QString notAnImage = QString::fromLatin1(PhotoAppWire::kRefusedNotAnImage);
        const QString notRegular = QString::fromLatin1(PhotoAppWire::kRefusedNotRegularFile);
        QList<QPair<QString, QString>> refused{
            {in("text.jpg"), notAnImage},
            {in("large.jpg"), notAnImage},
            {in("cut.jpg"), notAnImage},
            {in("fifo.jpg"), notRegular},
            {in("socket.jpg"), notRegular},
            {in("folder.jpg/IMG_0001.jpg"), notRegular},
            {in("out.jpg"), QString::fromLatin1(PhotoAppWire::kRefusedLinkOutOfFolder)},
            {QFile::decodeName(odd), QString::fromLatin1(PhotoAppWire::kRefusedNameNotUtf8)}};
        std::sort(refused.begin(), refused.end());
        for (const QDBusMessage& told : {finishedSignals.messages.constFirst(), app("LastImport")}) {
            QStringList imported = told.arguments().value(0).toStringList();
            imported.sort();
            QCOMPARE(imported, (QStringList{in("good.jpg"), in("link.jpg")}));
            QList<QPair<QString, QString>> turnedDown = refusals(told.arguments().value(1));
            std::sort(turnedDown.begin(), turnedDown.end());
            QCOMPARE(turnedDown, refused);
        }
        QVERIFY(mastersMatchRows(library));
        QVERIFY(PhotoAppProcess::peakKilobytes(server.pid()) * 1024 < kLargeFile);
        // The keywords good.jpg carries are the library's now, each an object of its own.
        const QStringList names = answer(app("KeywordNames")).toStringList();
        QCOMPARE(names, (QStringList{kMissing, kMasterMissing}));
        const QStringList keywords = objectPaths(app("Keywords"));
        QCOMPARE(keywords.size(), 2);
        QCOMPARE(answer(call(keywords.at(1), PhotoAppWire::kKeywordInterface, "Name")).toString(),
                 names.at(1));
    }

    void unreadableSourcesAreRefused_data() {
        QTest::addColumn<bool>("folder");
        QTest::newRow("file") << false;
        QTest::newRow("folder") << true;
    }

    // As a user the kernel refuses, since root reads everything.
    void unreadableSourcesAreRefused() {
        QFETCH(bool, folder);
        const bool root = ::geteuid() == 0;
        if (root)
            QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0755) == 0);
        const QString library = newPath(QStringLiteral("Locked.photolibrary"));
        QCOMPARE(photoapp("create", library).exitCode, 0);
        if (root)
            QCOMPARE(runProgram(QStringLiteral("chown"),
                                {QStringLiteral("-R"), QStringLiteral("65534:65534"), library})
                         .exitCode,
                     0);
        const QString source = newPath(QStringLiteral("locked"));
        if (folder) {
            QVERIFY(QDir().mkpath(source));
            QVERIFY(QFile::copy(kKeywordImage, source + QStringLiteral("/IMG.jpg")));
        } else {
            QVERIFY(QFile::copy(kKeywordImage, source));
        }
        QVERIFY(::chmod(QFile::encodeName(source).constData(), 0) == 0);
        const auto restore = qScopeGuard([&] { ::chmod(QFile::encodeName(source).constData(), 0755); });

        const auto asNobody = [root] {
            if (root && (::setresgid(65534, 65534, 65534) != 0 || ::setresuid(65534, 65534, 65534) != 0))
                ::_exit(99);
        };
        const auto r = runWith(asNobody, {QStringLiteral("import"), library, source});
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains(QFile::encodeName(source) + ": " + PhotoAppWire::kRefusedNotReadable),
                 r.err.constData());
        QVERIFY(photosIn(PhotoAppProcess::dump(library)).isEmpty());
    }

    void diskFullLeavesNothingBehind_data() {
        QTest::addColumn<bool>("edit");
        QTest::newRow("import") << false;
        QTest::newRow("edit") << true;
    }

    void diskFullLeavesNothingBehind() {
        QFETCH(bool, edit);
        // Noise does not compress: a JPEG well above the limit, its edited version too.
        QImage noise(900, 900, QImage::Format_RGB32);
        QRandomGenerator random(7);
        for (int y = 0; y < noise.height(); ++y)
            for (int x = 0; x < noise.width(); ++x)
                noise.setPixel(x, y, random.generate());
        const QString big = newPath(QStringLiteral("big.jpg"));
        QVERIFY(noise.save(big, "JPEG", 95));
        constexpr rlim_t kLimit = 200000;
        // Any file photoapp writes stops growing there, as on a full disk.
        const auto limitFileSize = [] {
            const rlimit limit{kLimit, kLimit};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        };
        QVERIFY(QFileInfo(big).size() > qint64(kLimit));
        const QString library = newPath(QStringLiteral("Full.photolibrary"));
        QCOMPARE(photoapp("create", library).exitCode, 0);
        if (edit)
            QCOMPARE(photoapp("import", library, big).exitCode, 0);

        const auto r =
            runWith(limitFileSize, edit ? QStringList{QStringLiteral("edit"), library, QStringLiteral("1")}
                                        : QStringList{QStringLiteral("import"), library, big});
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains(PhotoAppWire::kRefusedDiskFull), r.err.constData());
        QVERIFY(filesBelow(library + QStringLiteral("/Modified")).isEmpty());
        QVERIFY(mastersMatchRows(library));
        for (const QJsonValue& p : photosIn(PhotoAppProcess::dump(library))) {
            const QJsonObject o = p.toObject();
            QCOMPARE(o.value(QLatin1StringView("imagePath")), o.value(QLatin1StringView("originalPath")));
        }
        if (!edit)
            return;
        // With room again the edit goes through: an image of its own beside the master.
        const auto edited = photoapp("edit", library, "1");
        QCOMPARE(edited.exitCode, 0);
        const QJsonObject photo = withId(PhotoAppProcess::dump(library), "photos", 1);
        const QString image = photo.value(QLatin1StringView("imagePath")).toString();
        QCOMPARE(image, QString::fromUtf8(edited.out.trimmed()));
        QVERIFY(image != photo.value(QLatin1StringView("originalPath")).toString() && QFile::exists(image));
    }

    void committedImportsAreSeenAtOnceAndOutliveAKill() {
        const QString library = newPath(QStringLiteral("Seen.photolibrary"));
        QCOMPARE(photoapp("create", library).exitCode, 0);
        PhotoAppProcess server;
        QVERIFY(server.serve(library));
        for (int n = 1; n <= 3; ++n) {
            const QString file = newPath(QStringLiteral("IMG_%1.jpg").arg(n));
            QVERIFY(QFile::copy(kKeywordImage, file));
            QCOMPARE(answer(album(PhotoAppWire::albumPath(1), "ImportFrom", {file, true})).toBool(), true);
            QTRY_VERIFY_WITH_TIMEOUT(!answer(app("Importing")).toBool(), 10000);
            // Another process reads the catalogue the moment the import is over; each of these
            // reads ends by closing the catalogue, which must not take the service's journal along.
            QCOMPARE(photosIn(PhotoAppProcess::dump(library)).size(), n);
        }
        server.kill();
        QCOMPARE(photosIn(PhotoAppProcess::dump(library)).size(), 3);
        QVERIFY(mastersMatchRows(library));

        // Killed between naming a copy and recording it: the next service takes the copy away.
        QCOMPARE(photoapp("fault", library, "--stop-before-record").exitCode, 0);
        PhotoAppProcess stopped;
        QVERIFY(stopped.serve(library));
        const QString file = newPath(QStringLiteral("IMG_4.jpg"));
        QVERIFY(QFile::copy(kKeywordImage, file));
        QCOMPARE(answer(album(PhotoAppWire::albumPath(1), "ImportFrom", {file, true})).toBool(), true);
        QTRY_VERIFY_WITH_TIMEOUT(processState(stopped.pid()) == 'T', 10000);
        stopped.kill();
        QVERIFY(!mastersMatchRows(library));
        QCOMPARE(photoapp("fault", library, "--clear").exitCode, 0);
        PhotoAppProcess again;
        QVERIFY(again.serve(library));
        QVERIFY(mastersMatchRows(library));
        QCOMPARE(photosIn(PhotoAppProcess::dump(library)).size(), 3);
    }

    void sigtermEndsAnImportInTime() {
        const QString library = newPath(QStringLiteral("Stop.photolibrary"));
        QCOMPARE(photoapp("create", library).exitCode, 0);
        QCOMPARE(photoapp("fault", library, "--import-delay", "60000").exitCode, 0);
        const QString fifo = newPath(QStringLiteral("stuck.jpg"));
        const QString folder = newPath(QStringLiteral("stuck"));
        QVERIFY(makeFifo(fifo) && QDir().mkpath(folder));
        QVERIFY(makeFifo(folder + QStringLiteral("/a.jpg")) &&
                makeLink(folder + QStringLiteral("/a.jpg"), folder + QStringLiteral("/b.jpg")));
        for (int n = 0; n < 50; ++n)
            QVERIFY(QFile::copy(kKeywordImage, folder + QStringLiteral("/IMG_%1.jpg").arg(n)));
        PhotoAppProcess server;
        QVERIFY(server.serve(library));
        album(PhotoAppWire::albumPath(1), "ImportFrom", {fifo, true}); // refused, or stuck for good
        QCOMPARE(answer(album(PhotoAppWire::albumPath(1), "ImportFrom", {folder, true})).toBool(), true);
        QElapsedTimer timer;
        timer.start();
        QVERIFY(server.stop()); // SIGTERM; false when it took SIGKILL after 5 s
        QVERIFY(timer.elapsed() < 5000);
        QVERIFY(mastersMatchRows(library));
        PhotoAppProcess again;
        QVERIFY(again.serve(library));
    }

    void oneServicePerLibraryAndPerBus() {
        const QString library = demo(1);
        PhotoAppProcess server;
        QVERIFY(server.serve(library));
        // The same library on a bus of its own. Its photoapp is this test's own child, so that
        // one that does not refuse cannot outlive the test.
        const QByteArray ownBus = qgetenv("DBUS_SESSION_BUS_ADDRESS");
        TestBus otherBus;
        QVERIFY(otherBus.start());
        qputenv("DBUS_SESSION_BUS_ADDRESS", ownBus);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), otherBus.address());
        ChildProcess other(PhotoAppProcess::executable(), {QStringLiteral("serve"), library}, {},
                           [&](QProcess& p) { p.setProcessEnvironment(environment); });
        QCOMPARE(other.wait(10000), 1);
        QVERIFY2(other.err.contains("already served by process " + QByteArray::number(server.pid())),
                 other.err.constData());
        // Another library on the same bus.
        const auto second = photoapp("serve", demo(1));
        QCOMPARE(second.exitCode, 1);
        QVERIFY2(second.err.contains("already owned"), second.err.constData());
        QVERIFY(server.stop());
        QCOMPARE(app("Ping").errorName(), QStringLiteral("org.freedesktop.DBus.Error.ServiceUnknown"));
        PhotoAppProcess again; // the lock went with the service
        QVERIFY(again.serve(library));
    }
};

VUP_TEST_MAIN_CORE(tst_PhotoApp)
#include "tst_photoapp.moc"
