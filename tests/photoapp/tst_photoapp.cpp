// The stand-in photo application as Vup meets it: real photoapp processes on the test's private
// bus, real libraries in temporary folders, requests as plain D-Bus messages or through the bridge.

#include "bridge/PhotoAppWire.h"
#include "bridge/iPhotoBridge.h"
#include "tests/support/PhotoAppProcess.h"
#include "tests/support/TestMain.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>

namespace {

const QString kKeywordImage = QStringLiteral(VUP_KEYWORD_IMAGE);
const QString kMissing = QStringLiteral("Vup Missing");
const QString kMasterMissing = QStringLiteral("Vup Master Missing");

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QDBusMessage call(const QString& path, const char* interface, const char* method,
                  const QVariantList& args = {}) {
    QDBusMessage m =
        QDBusMessage::createMethodCall(QString::fromLatin1(PhotoAppWire::kService), path,
                                       QString::fromLatin1(interface), QString::fromLatin1(method));
    m.setArguments(args);
    return QDBusConnection::sessionBus().call(m, QDBus::Block, 10000);
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

QString objectPath(const QDBusMessage& reply) {
    return answer(reply).value<QDBusObjectPath>().path();
}

// `photoapp ARGS...`, each argument taken as text.
template <typename... Args> PhotoAppProcess::Result photoapp(const Args&... args) {
    return PhotoAppProcess::run({QString(args)...});
}

QJsonArray photosIn(const QJsonObject& dump) {
    return dump.value(QLatin1StringView("photos")).toArray();
}

QStringList paths(const QDBusMessage& reply) {
    QList<QDBusObjectPath> list;
    reply.arguments().value(0).value<QDBusArgument>() >> list;
    QStringList result;
    for (const QDBusObjectPath& p : list)
        result.append(p.path());
    return result;
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

QJsonObject photoIn(const QJsonObject& dump, qint64 id) {
    for (const QJsonValue& p : dump.value(QLatin1StringView("photos")).toArray()) {
        if (p.toObject().value(QLatin1StringView("id")).toInteger() == id)
            return p.toObject();
    }
    return {};
}

QJsonObject albumIn(const QJsonObject& dump, qint64 id) {
    for (const QJsonValue& a : dump.value(QLatin1StringView("albums")).toArray()) {
        if (a.toObject().value(QLatin1StringView("id")).toInteger() == id)
            return a.toObject();
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

bool waitUntilIdle(int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        if (!answer(app("Importing")).toBool())
            return true;
        QThread::msleep(50);
    }
    return false;
}

} // namespace

class PhotoAppTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    int counter = 0;

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
            QVERIFY2(master.startsWith(library + QStringLiteral("/Masters/")), qPrintable(master));
            QCOMPARE(p.value(QLatin1StringView("imagePath")).toString(), master);
            QVERIFY(QFile::exists(master));
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
        QCOMPARE(albumIn(dump, libraryAlbum).value(QLatin1StringView("type")).toInteger(),
                 qint64(PhotoAppWire::kAlbumTypeLibrary));
        QCOMPARE(ids(albumIn(dump, libraryAlbum).value(QLatin1StringView("photos"))).size(), 2);
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

    void refusesFilesThatAreNotImages() {
        const QString library = newPath(QStringLiteral("Refuse.photolibrary"));
        QCOMPARE(photoapp("create", library).exitCode, 0);
        const QString text = newPath(QStringLiteral("not-an-image.jpg"));
        QVERIFY(QFile::copy(QStringLiteral(VUP_TEST_DATA_DIR "/not-an-image.jpg"), text));
        const QByteArray before = readAll(text);

        const auto r = photoapp("import", library, text);
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains(text.toUtf8()), r.err.constData());
        QCOMPARE(readAll(text), before);
        QVERIFY(photosIn(PhotoAppProcess::dump(library)).isEmpty());
        QVERIFY(filesBelow(library + QStringLiteral("/Masters")).isEmpty());
    }

    void refusesACatalogueThatIsNotSqlite() {
        const QString library = newPath(QStringLiteral("Broken.photolibrary"));
        QCOMPARE(photoapp("create", library).exitCode, 0);
        const QString catalogue = library + QStringLiteral("/Database/Library.sqlite");
        QVERIFY(QFile::remove(catalogue));
        QVERIFY(QFile::copy(QStringLiteral(VUP_TEST_DATA_DIR "/not-a-catalogue.sqlite"), catalogue));
        const QByteArray before = readAll(catalogue);

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
        QCOMPARE(readAll(catalogue), before);
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
            QVERIFY(QSqlQuery(other).exec(QStringLiteral("BEGIN IMMEDIATE")));
            QProcess import;
            import.start(PhotoAppProcess::executable(), {QStringLiteral("import"), library, kKeywordImage});
            QVERIFY(import.waitForStarted());
            const bool gaveUpWhileLocked = import.waitForFinished(15000);
            QVERIFY(QSqlQuery(other).exec(QStringLiteral("ROLLBACK")));
            other.close();
            if (!gaveUpWhileLocked)
                import.waitForFinished(30000);
            QCOMPARE(import.exitStatus(), QProcess::NormalExit);
            QCOMPARE(import.exitCode(), 1);
            QVERIFY2(import.readAllStandardError().contains("locked"), "the reason is not told");
        }
        QSqlDatabase::removeDatabase(QStringLiteral("other"));
        // Neither a record without its file nor a file without its record.
        QVERIFY(photosIn(PhotoAppProcess::dump(library)).isEmpty());
        QVERIFY(filesBelow(library + QStringLiteral("/Masters")).isEmpty());
        // The next import, with the catalogue free, goes through.
        QCOMPARE(photoapp("import", library, kKeywordImage).exitCode, 0);
        QCOMPARE(photosIn(PhotoAppProcess::dump(library)).size(), 1);
    }

    void demoLibraryHasWhatItPromises() {
        const QString library = demo(30, 3, 2, 4);
        const QJsonObject dump = PhotoAppProcess::dump(library);
        const QJsonArray photos = photosIn(dump);
        QCOMPARE(photos.size(), 30);
        QVERIFY(dump.value(QLatin1StringView("keywords")).toArray().isEmpty());
        int missingImages = 0;
        int missingMasters = 0;
        QSet<QString> masters;
        for (const QJsonValue& v : photos) {
            const QString image = v.toObject().value(QLatin1StringView("imagePath")).toString();
            const QString master = v.toObject().value(QLatin1StringView("originalPath")).toString();
            QVERIFY(QFileInfo(image).isAbsolute() && QFileInfo(master).isAbsolute());
            masters.insert(master);
            if (!QFile::exists(image))
                ++missingImages;
            else if (!QFile::exists(master) && image != master)
                ++missingMasters;
        }
        QCOMPARE(missingImages, 3);
        QCOMPARE(missingMasters, 2);
        int zombies = 0;
        for (const QString& file : filesBelow(library + QStringLiteral("/Masters")))
            zombies += masters.contains(file) ? 0 : 1;
        QCOMPARE(zombies, 4);

        QVERIFY(photoapp("demo", newPath("Too.photolibrary"), "--photos", "2", "--missing-images", "3")
                    .exitCode == 1);
    }

    void propertiesTellValueMissingValueAndAbsentApart() {
        const QString library = demo(3);
        PhotoAppProcess server;
        QVERIFY(server.serve(library));
        QCOMPARE(photoapp("fault", library, "--photo", "2", "--null", PhotoAppWire::kImagePath).exitCode, 0);
        QCOMPARE(photoapp("fault", library, "--photo", "2", "--absent", PhotoAppWire::kWidth).exitCode, 0);

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

        // The bridge reads the same answer as three states.
        const auto application =
            iPhotoApplication::applicationWithBundleIdentifier(QString::fromLatin1(PhotoAppWire::kService));
        const QVariantMap seen = application->photoWithId(2).properties();
        QVERIFY(isNullMarker(seen.value(QString::fromLatin1(PhotoAppWire::kImagePath))));
        QVERIFY(!seen.contains(QString::fromLatin1(PhotoAppWire::kWidth)));
        QCOMPARE(seen.value(QString::fromLatin1(PhotoAppWire::kHeight)).toInt(), 48);

        QCOMPARE(photoapp("fault", library, "--clear").exitCode, 0);
        QCOMPARE(properties(photo(2, "Properties")).values.size(), 7);
    }

    void failingPropertiesFailOnlyThatPhoto() {
        const QString library = demo(3);
        PhotoAppProcess server;
        QVERIFY(server.serve(library));
        QCOMPARE(photoapp("fault", library, "--photo", "2", "--fail-properties").exitCode, 0);
        const QDBusMessage failed = photo(2, "Properties");
        QCOMPARE(failed.type(), QDBusMessage::ErrorMessage);
        QCOMPARE(failed.errorName(), QString::fromLatin1(PhotoAppWire::kErrorFailed));
        QCOMPARE(photo(3, "Properties").type(), QDBusMessage::ReplyMessage);
        QCOMPARE(photo(99, "Properties").errorName(), QString::fromLatin1(PhotoAppWire::kErrorNoSuchObject));
        QCOMPARE(album(PhotoAppWire::albumPath(99), "Name").errorName(),
                 QString::fromLatin1(PhotoAppWire::kErrorNoSuchObject));
        // Asking for a fault on a photo that does not exist is an error, not a silent no-op.
        QCOMPARE(photoapp("fault", library, "--photo", "99", "--fail-properties").exitCode, 1);
    }

    void versionAndInjectedVersionError() {
        const QString library = demo(1);
        PhotoAppProcess server;
        QVERIFY(server.serve(library, {QStringLiteral("--version"), QStringLiteral("8.1.2")}));
        const auto application =
            iPhotoApplication::applicationWithBundleIdentifier(QString::fromLatin1(PhotoAppWire::kService));
        QCOMPARE(application->version(), QStringLiteral("8.1.2"));

        QCOMPARE(photoapp("fault", library, "--version-error", "com.example.Error.Busy", "Busy right now")
                     .exitCode,
                 0);
        try {
            application->version();
            QFAIL("version() answered despite the injected error");
        } catch (const BridgeError& e) {
            QCOMPARE(e.name, QStringLiteral("com.example.Error.Busy"));
            QCOMPARE(e.reason, QStringLiteral("Busy right now"));
        }
        // A name D-Bus could not carry is refused up front rather than leaving requests unanswered.
        QCOMPARE(photoapp("fault", library, "--version-error", "not a name", "x").exitCode, 1);
        QCOMPARE(photoapp("fault", library, "--clear").exitCode, 0);
        QCOMPARE(application->version(), QStringLiteral("8.1.2"));
    }

    void selectionOfPhotosAndOfAnAlbum() {
        const QString library = demo(4);
        PhotoAppProcess server;
        QVERIFY(server.serve(library));
        QCOMPARE(photo(3, "Select").type(), QDBusMessage::ReplyMessage);
        QCOMPARE(paths(app("Selection")), QStringList{PhotoAppWire::photoPath(3)});

        const QString libraryAlbum = objectPath(app("PhotoLibraryAlbum"));
        album(libraryAlbum, "Select");
        QCOMPARE(paths(app("Selection")), QStringList{libraryAlbum});

        QCOMPARE(photoapp("select", library, "--photos", "4", "2").exitCode, 0);
        QCOMPARE(paths(app("Selection")),
                 (QStringList{PhotoAppWire::photoPath(4), PhotoAppWire::photoPath(2)}));
        QCOMPARE(photoapp("select", library, "--photos", "9").exitCode, 1);
    }

    void assignKeywordNeedsAKnownKeywordOfExactlyThatName() {
        const QString library = demo(3);
        PhotoAppProcess server;
        QVERIFY(server.serve(library));
        QVERIFY(paths(app("Keywords")).isEmpty());
        QCOMPARE(photoapp("keyword", "add", library, kMissing).exitCode, 0);
        const QStringList keywords = paths(app("Keywords"));
        QCOMPARE(keywords.size(), 1);
        QCOMPARE(answer(call(keywords.constFirst(), PhotoAppWire::kKeywordInterface, "Name")).toString(),
                 kMissing);

        QCOMPARE(photoapp("select", library, "--photos", "2").exitCode, 0);
        QCOMPARE(answer(app("AssignKeyword", {QStringLiteral("vup missing")})).toBool(), false);
        QCOMPARE(answer(app("AssignKeyword", {kMasterMissing})).toBool(), false);
        QVERIFY(strings(photoIn(PhotoAppProcess::dump(library), 2).value(QLatin1StringView("keywords")))
                    .isEmpty());

        QCOMPARE(answer(app("AssignKeyword", {kMissing})).toBool(), true);
        const QJsonObject dump = PhotoAppProcess::dump(library);
        QCOMPARE(strings(photoIn(dump, 2).value(QLatin1StringView("keywords"))), QStringList{kMissing});
        QVERIFY(strings(photoIn(dump, 1).value(QLatin1StringView("keywords"))).isEmpty());
    }

    void importFromTeachesKeywordsAndReportsImporting() {
        const QString library = newPath(QStringLiteral("Import.photolibrary"));
        QCOMPARE(photoapp("create", library).exitCode, 0);
        QCOMPARE(photoapp("fault", library, "--import-delay", "1500").exitCode, 0);
        const QString folder = newPath(QStringLiteral("incoming"));
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QFile::copy(kKeywordImage, folder + QStringLiteral("/iPhoto Keywords.jpg")));
        const QString text = folder + QStringLiteral("/notes.jpg");
        QVERIFY(QFile::copy(QStringLiteral(VUP_TEST_DATA_DIR "/not-an-image.jpg"), text));

        PhotoAppProcess server;
        QVERIFY(server.serve(library));
        const QString libraryAlbum = objectPath(app("PhotoLibraryAlbum"));
        QVERIFY(!answer(app("Importing")).toBool());
        QElapsedTimer timer;
        timer.start();
        const QDBusMessage accepted = album(libraryAlbum, "ImportFrom", {folder, true});
        QCOMPARE(answer(accepted).toBool(), true);
        QVERIFY(answer(app("Importing")).toBool());
        QVERIFY(waitUntilIdle(20000));
        QVERIFY2(timer.elapsed() >= 1500, "the injected import delay was not honoured");

        QStringList names;
        for (const QString& k : paths(app("Keywords")))
            names.append(answer(call(k, PhotoAppWire::kKeywordInterface, "Name")).toString());
        QCOMPARE(names, (QStringList{kMissing, kMasterMissing}));
        QCOMPARE(answer(album(libraryAlbum, "PhotoCount")).toLongLong(), 1);
        QVERIFY(QFile::exists(text)); // refused, left where it was
        QVERIFY(QFile::exists(folder + QStringLiteral("/iPhoto Keywords.jpg")));

        // A path with nothing there starts no import.
        QCOMPARE(answer(album(libraryAlbum, "ImportFrom", {newPath(QStringLiteral("none")), true})).toBool(),
                 false);
        QVERIFY(!answer(app("Importing")).toBool());
    }

    void trashAndSmartAlbumsTakeNoImports() {
        const QString library = demo(1);
        const auto smart = photoapp("album", "create", library, "Recent", "--type", "smrt");
        QCOMPARE(smart.exitCode, 0);
        PhotoAppProcess server;
        QVERIFY(server.serve(library));
        const QString trash = objectPath(app("TrashAlbum"));
        const QString smartPath =
            PhotoAppWire::albumPath(QString::fromUtf8(smart.out.trimmed()).toLongLong());
        for (const QString& target : {trash, smartPath}) {
            const QDBusMessage reply = album(target, "ImportFrom", {kKeywordImage, true});
            QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
            QCOMPARE(answer(reply).toBool(), false);
        }
        QVERIFY(waitUntilIdle(20000));
        // Nothing came in: no photo sits in the library and the trash at once.
        const QJsonObject dump = PhotoAppProcess::dump(library);
        QCOMPARE(photosIn(dump).size(), 1);
        QVERIFY(ids(albumIn(dump, dump.value(QLatin1StringView("trashAlbum")).toInteger())
                        .value(QLatin1StringView("photos")))
                    .isEmpty());
    }

    void newAlbumAndRemoveFromLibraryToTrash() {
        const QString library = demo(3);
        PhotoAppProcess server;
        QVERIFY(server.serve(library));
        const QString libraryAlbum = objectPath(app("PhotoLibraryAlbum"));
        const QString trash = objectPath(app("TrashAlbum"));
        QCOMPARE(answer(album(trash, "Type")).toUInt(), PhotoAppWire::kAlbumTypeTrash);

        const QString first = objectPath(app("NewAlbum", {QStringLiteral("Same")}));
        const QString second = objectPath(app("NewAlbum", {QStringLiteral("Same")}));
        QVERIFY(!first.isEmpty() && first != second);
        QCOMPARE(answer(album(second, "Type")).toUInt(), PhotoAppWire::kAlbumTypePlain);
        QCOMPARE(answer(album(second, "Name")).toString(), QStringLiteral("Same"));
        QVERIFY(paths(app("Albums")).contains(second));

        const QDBusMessage removed =
            photo(2, "RemoveFrom", {QVariant::fromValue(QDBusObjectPath(libraryAlbum))});
        QCOMPARE(answer(removed).toBool(), true);
        QCOMPARE(paths(album(libraryAlbum, "Photos")),
                 (QStringList{PhotoAppWire::photoPath(1), PhotoAppWire::photoPath(3)}));
        QCOMPARE(paths(album(trash, "Photos")), QStringList{PhotoAppWire::photoPath(2)});
        const QJsonObject dump = PhotoAppProcess::dump(library);
        QCOMPARE(ids(photoIn(dump, 2).value(QLatin1StringView("albums"))),
                 QList<qint64>{dump.value(QLatin1StringView("trashAlbum")).toInteger()});
    }

    void editMakesImageAndMasterDiffer() {
        const QString library = demo(2);
        const auto r = photoapp("edit", library, "1");
        QCOMPARE(r.exitCode, 0);
        const QJsonObject photo = photoIn(PhotoAppProcess::dump(library), 1);
        const QString image = photo.value(QLatin1StringView("imagePath")).toString();
        const QString master = photo.value(QLatin1StringView("originalPath")).toString();
        QVERIFY(image != master);
        QVERIFY(QFile::exists(image) && QFile::exists(master));
        QCOMPARE(image, QString::fromUtf8(r.out.trimmed()));
    }

    void recordsNamingAnyPathAreServedAsGiven() {
        const QString library = newPath(QStringLiteral("Odd.photolibrary"));
        QCOMPARE(photoapp("create", library).exitCode, 0);
        const auto smart = photoapp("album", "create", library, "Recent", "--type", "smrt");
        QCOMPARE(smart.exitCode, 0);
        const QString outside = QStringLiteral("/elsewhere/Other.photolibrary/Masters/caf\u00e9 #1.jpg");
        const auto added = photoapp("photo", "add-record", library, "--image", outside, "--album",
                                    QString::fromUtf8(smart.out.trimmed()));
        QVERIFY2(added.exitCode == 0, added.err.constData());

        PhotoAppProcess server;
        QVERIFY(server.serve(library));
        const PropertyAnswer a =
            properties(call(PhotoAppWire::photoPath(QString::fromUtf8(added.out.trimmed()).toLongLong()),
                            PhotoAppWire::kPhotoInterface, "Properties"));
        QCOMPARE(a.values.value(QString::fromLatin1(PhotoAppWire::kImagePath)).toString(), outside);
        QCOMPARE(a.values.value(QString::fromLatin1(PhotoAppWire::kOriginalPath)).toString(), outside);
        const QString smartPath =
            PhotoAppWire::albumPath(QString::fromUtf8(smart.out.trimmed()).toLongLong());
        QCOMPARE(answer(album(smartPath, "Type")).toUInt(), PhotoAppWire::kAlbumTypeSmart);
        QCOMPARE(answer(album(smartPath, "PhotoCount")).toLongLong(), 1);
    }

    void servesOnceAndStopsCleanlyOnSigterm() {
        const QString library = demo(1);
        PhotoAppProcess server;
        QVERIFY(server.serve(library));
        const auto second = photoapp("serve", library);
        QCOMPARE(second.exitCode, 1);
        QVERIFY2(second.err.contains("already owned"), second.err.constData());
        QCOMPARE(app("Ping").type(), QDBusMessage::ReplyMessage);
        QVERIFY(server.stop());
        QCOMPARE(app("Ping").errorName(), QStringLiteral("org.freedesktop.DBus.Error.ServiceUnknown"));
    }
};

VUP_TEST_MAIN_CORE(PhotoAppTest)
#include "tst_photoapp.moc"
