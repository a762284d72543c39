/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "photoapp/Catalogue.h"

#include "wire/PhotoAppWire.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QMultiHash>
#include <QSqlDriver>
#include <QSqlError>
#include <QUrl>
#include <QVariant>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <unistd.h>

namespace {

constexpr auto kSchemaVersion = "2";
// Version 1 matched keyword names case-sensitively and had no folded column.
constexpr auto kSchemaVersionWithoutFolding = "1";
// SQLite's result code for a file that is not a database.
constexpr auto kSqliteNotADatabase = "26";

constexpr auto kSettingSchema = "schema";
constexpr auto kSettingLibraryAlbum = "libraryAlbum";
constexpr auto kSettingTrashAlbum = "trashAlbum";
constexpr auto kSettingVersionErrorName = "versionErrorName";
constexpr auto kSettingVersionErrorMessage = "versionErrorMessage";
constexpr auto kSettingImportDelay = "importDelayMs";
constexpr auto kSettingStopBeforeRecord = "stopBeforeRecord";

constexpr auto kLibraryAlbumName = "Photos";
constexpr auto kTrashAlbumName = "Trash";

enum FaultKind { kFaultNull = 0, kFaultAbsent = 1, kFaultFailProperties = 2, kFaultRefuseChanges = 3 };

const char* const kSchema[] = {
    "CREATE TABLE settings (name TEXT PRIMARY KEY, value TEXT NOT NULL)",
    "CREATE TABLE photos (id INTEGER PRIMARY KEY, image_filename TEXT NOT NULL, image_path TEXT NOT NULL,"
    " original_path TEXT NOT NULL, date_ms INTEGER NOT NULL, width INTEGER NOT NULL, height INTEGER NOT NULL,"
    " imported_ms INTEGER NOT NULL)",
    "CREATE TABLE albums (id INTEGER PRIMARY KEY, name TEXT NOT NULL, type INTEGER NOT NULL)",
    "CREATE TABLE album_photos (album_id INTEGER NOT NULL, photo_id INTEGER NOT NULL, position INTEGER NOT "
    "NULL,"
    " PRIMARY KEY (album_id, photo_id)) WITHOUT ROWID",
    "CREATE INDEX album_photos_order ON album_photos (album_id, position)",
    "CREATE INDEX album_photos_photo ON album_photos (photo_id)",
    // `folded` is the name's case folding: keywords are found whatever their case.
    "CREATE TABLE keywords (id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE, folded TEXT NOT NULL)",
    "CREATE INDEX keywords_folded ON keywords (folded)",
    "CREATE TABLE photo_keywords (photo_id INTEGER NOT NULL, keyword_id INTEGER NOT NULL,"
    " PRIMARY KEY (photo_id, keyword_id)) WITHOUT ROWID",
    "CREATE TABLE selection (position INTEGER PRIMARY KEY, kind INTEGER NOT NULL, object_id INTEGER NOT "
    "NULL)",
    // When each photo went to the trash; membership itself is the trash album's.
    "CREATE TABLE trash (photo_id INTEGER PRIMARY KEY, trashed_ms INTEGER NOT NULL)",
    "CREATE TABLE photo_faults (photo_id INTEGER NOT NULL, key TEXT NOT NULL, kind INTEGER NOT NULL,"
    " PRIMARY KEY (photo_id, key)) WITHOUT ROWID",
};

QString nextConnectionName() {
    static std::atomic<int> counter{0};
    return QStringLiteral("photoapp-catalogue-%1").arg(counter.fetch_add(1));
}

// `mayCreate` false: SQLite refuses to open a file that is not there rather than make a new one.
QSqlDatabase connect(const QString& name, const QString& file, bool mayCreate) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    QString uri = QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded);
    uri += mayCreate ? QStringLiteral("?mode=rwc") : QStringLiteral("?mode=rw");
    db.setDatabaseName(uri);
    // A service and a subcommand may write at the same moment; the later one waits its turn.
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000;QSQLITE_OPEN_URI"));
    return db;
}

QString folded(const QString& name) {
    return name.toCaseFolded();
}

} // namespace

Catalogue::Catalogue(const LibraryPackage& library, QSqlDatabase database)
    : package(library), connectionName(database.connectionName()), db(std::move(database)) {}

Catalogue::~Catalogue() {
    photoLookup.reset();
    albumById.reset();
    photosOfAlbum.reset();
    countOfAlbum.reset();
    insertPhoto.reset();
    insertMembership.reset();
    keywordByFolded.reset();
    insertKeyword.reset();
    insertPhotoKeyword.reset();
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(connectionName);
}

std::unique_ptr<Catalogue> Catalogue::create(const LibraryPackage& library, QString* error) {
    const QString file = library.catalogueFile();
    if (QFileInfo::exists(file)) {
        *error = QCoreApplication::translate("Catalogue", "%1 already exists").arg(file);
        return nullptr;
    }
    std::unique_ptr<Catalogue> c(new Catalogue(library, connect(nextConnectionName(), file, true)));
    if (!c->db.open()) {
        *error = QCoreApplication::translate("Catalogue", "cannot create the catalogue %1: %2")
                     .arg(file, c->db.lastError().text());
        return nullptr;
    }
    c->setDurability();
    {
        Transaction t(*c);
        for (const char* statement : kSchema) {
            if (!c->run(QString::fromLatin1(statement))) {
                *error = QCoreApplication::translate("Catalogue", "cannot create the catalogue %1: %2")
                             .arg(file, c->error);
                return nullptr;
            }
        }
        c->setSetting(QString::fromLatin1(kSettingSchema), QString::fromLatin1(kSchemaVersion));
        const qint64 lib =
            c->createAlbum(QString::fromLatin1(kLibraryAlbumName), PhotoAppWire::kAlbumTypeLibrary);
        const qint64 trash =
            c->createAlbum(QString::fromLatin1(kTrashAlbumName), PhotoAppWire::kAlbumTypeTrash);
        c->setSetting(QString::fromLatin1(kSettingLibraryAlbum), QString::number(lib));
        c->setSetting(QString::fromLatin1(kSettingTrashAlbum), QString::number(trash));
        if (lib == 0 || trash == 0 || !t.commit()) {
            *error = QCoreApplication::translate("Catalogue", "cannot create the catalogue %1: %2")
                         .arg(file, c->error);
            return nullptr;
        }
    }
    c->libraryAlbum = c->setting(QString::fromLatin1(kSettingLibraryAlbum)).toLongLong();
    c->trashAlbum = c->setting(QString::fromLatin1(kSettingTrashAlbum)).toLongLong();
    if (!c->prepareStatements()) {
        *error =
            QCoreApplication::translate("Catalogue", "cannot use the catalogue %1: %2").arg(file, c->error);
        return nullptr;
    }
    return c;
}

std::unique_ptr<Catalogue> Catalogue::open(const LibraryPackage& library, QString* error) {
    const QString file = library.catalogueFile();
    if (!QFileInfo::exists(library.root())) {
        *error = QCoreApplication::translate("Catalogue", "no photo library at %1").arg(library.root());
        return nullptr;
    }
    // Only a plain file: SQLite would wait forever reading a FIFO.
    if (!QFileInfo(file).isFile()) {
        *error = QCoreApplication::translate(
                     "Catalogue", "%1 is not a photo library: its catalogue %2 is missing or not a file")
                     .arg(library.root(), file);
        return nullptr;
    }
    // The header is left to SQLite on purpose. Opening the file through any other descriptor would
    // be harmless only until that descriptor closes: closing it drops every POSIX lock this process
    // holds on the file, those of its own SQLite connections included, and another process could
    // then checkpoint and delete the journal the service is still writing to.
    std::unique_ptr<Catalogue> c(new Catalogue(library, connect(nextConnectionName(), file, false)));
    if (!c->db.open()) {
        *error = QCoreApplication::translate("Catalogue", "cannot open the catalogue %1: %2")
                     .arg(file, c->db.lastError().text());
        return nullptr;
    }
    QSqlQuery schema(c->db);
    const bool read = schema.exec(QStringLiteral("SELECT value FROM settings WHERE name = '%1'")
                                      .arg(QLatin1StringView(kSettingSchema)));
    const QString version = read && schema.next() ? schema.value(0).toString() : QString();
    schema.finish();
    if (!read && schema.lastError().nativeErrorCode() == QLatin1StringView(kSqliteNotADatabase)) {
        *error = QCoreApplication::translate(
                     "Catalogue", "the catalogue %1 is not an SQLite database; it was left as it is")
                     .arg(file);
        return nullptr;
    }
    if (version == QLatin1StringView(kSchemaVersionWithoutFolding) && !c->addKeywordFolding()) {
        *error = QCoreApplication::translate("Catalogue", "cannot upgrade the catalogue %1: %2")
                     .arg(file, c->error);
        return nullptr;
    }
    if (version != QLatin1StringView(kSchemaVersion) &&
        version != QLatin1StringView(kSchemaVersionWithoutFolding)) {
        *error =
            read || schema.lastError().text().contains(QLatin1StringView("no such table"))
                ? QStringLiteral("the catalogue %1 is an SQLite database but not a photo library "
                                 "catalogue; it was left as it is")
                      .arg(file)
                : QStringLiteral("cannot read the catalogue %1: %2").arg(file, schema.lastError().text());
        return nullptr;
    }
    c->setDurability();
    c->libraryAlbum = c->setting(QString::fromLatin1(kSettingLibraryAlbum)).toLongLong();
    c->trashAlbum = c->setting(QString::fromLatin1(kSettingTrashAlbum)).toLongLong();
    if (!c->prepareStatements()) {
        *error =
            QCoreApplication::translate("Catalogue", "cannot use the catalogue %1: %2").arg(file, c->error);
        return nullptr;
    }
    return c;
}

void Catalogue::setDurability() {
    // WAL lets readers in other processes (a dump) see each committed change at once; FULL syncs
    // the journal at every commit, so a change once answered survives a crash of the machine too,
    // not only of the process. Neither depends on how SQLite was built.
    run(QStringLiteral("PRAGMA journal_mode=WAL"));
    run(QStringLiteral("PRAGMA synchronous=FULL"));
}

bool Catalogue::addKeywordFolding() {
    Transaction t(*this);
    if (setting(QString::fromLatin1(kSettingSchema)) != QLatin1StringView(kSchemaVersionWithoutFolding))
        return t.commit(); // another process upgraded it meanwhile
    QList<QPair<qint64, QString>> names;
    QSqlQuery all(db);
    all.setForwardOnly(true);
    if (!all.exec(QStringLiteral("SELECT id, name FROM keywords"))) {
        error = all.lastError().text();
        return false;
    }
    while (all.next())
        names.append({all.value(0).toLongLong(), all.value(1).toString()});
    all.finish();
    if (!run(QStringLiteral("ALTER TABLE keywords ADD COLUMN folded TEXT NOT NULL DEFAULT ''")))
        return false;
    QSqlQuery update(db);
    update.prepare(QStringLiteral("UPDATE keywords SET folded = ? WHERE id = ?"));
    for (const auto& [id, name] : names) {
        update.bindValue(0, folded(name));
        update.bindValue(1, id);
        if (!exec(update))
            return false;
    }
    return run(QStringLiteral("CREATE INDEX keywords_folded ON keywords (folded)")) &&
           setSetting(QString::fromLatin1(kSettingSchema), QString::fromLatin1(kSchemaVersion)) && t.commit();
}

bool Catalogue::prepareStatements() {
    auto prepare = [this](std::unique_ptr<QSqlQuery>& q, const char* sql) {
        q = std::make_unique<QSqlQuery>(db);
        q->setForwardOnly(true);
        if (!q->prepare(QString::fromLatin1(sql))) {
            error = q->lastError().text();
            return false;
        }
        return true;
    };
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0) {
        error = QStringLiteral("the SQL driver is not SQLite");
        return false;
    }
    photoLookup = std::make_unique<PhotoLookup>(*static_cast<sqlite3* const*>(handle.constData()));
    if (!photoLookup->isValid()) {
        error = photoLookup->error();
        return false;
    }
    return prepare(albumById, "SELECT id, name, type FROM albums WHERE id = ?") &&
           prepare(photosOfAlbum, "SELECT photo_id FROM album_photos WHERE album_id = ? ORDER BY position") &&
           prepare(countOfAlbum, "SELECT COUNT(*) FROM album_photos WHERE album_id = ?") &&
           prepare(insertPhoto,
                   "INSERT INTO photos (image_filename, image_path, original_path, date_ms, width, "
                   "height, imported_ms) VALUES (?, ?, ?, ?, ?, ?, ?)") &&
           prepare(insertMembership,
                   "INSERT OR IGNORE INTO album_photos (album_id, photo_id, position) VALUES (?, ?, "
                   "(SELECT COALESCE(MAX(position), 0) + 1 FROM album_photos WHERE album_id = ?))") &&
           prepare(keywordByFolded, "SELECT id FROM keywords WHERE folded = ? ORDER BY id LIMIT 1") &&
           prepare(insertKeyword, "INSERT INTO keywords (name, folded) VALUES (?, ?)") &&
           prepare(insertPhotoKeyword,
                   "INSERT OR IGNORE INTO photo_keywords (photo_id, keyword_id) VALUES (?, ?)");
}

bool Catalogue::refusedInFailedTransaction() const {
    // A statement run after the transaction could not begin (or after a nested part failed) would
    // commit on its own, leaving half of a change that its caller then reports as not made.
    return transactionDepth > 0 && transactionFailed;
}

bool Catalogue::exec(QSqlQuery& q) {
    if (refusedInFailedTransaction())
        return false;
    if (q.exec())
        return true;
    error = q.lastError().text();
    return false;
}

bool Catalogue::run(const QString& sql) {
    if (refusedInFailedTransaction())
        return false;
    QSqlQuery q(db);
    if (q.exec(sql))
        return true;
    error = q.lastError().text();
    return false;
}

QString Catalogue::setting(const QString& name) {
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT value FROM settings WHERE name = ?"));
    q.addBindValue(name);
    if (!exec(q) || !q.next())
        return {};
    return q.value(0).toString();
}

bool Catalogue::setSetting(const QString& name, const QString& value) {
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT OR REPLACE INTO settings (name, value) VALUES (?, ?)"));
    q.addBindValue(name);
    q.addBindValue(value);
    return exec(q);
}

bool Catalogue::removeSetting(const QString& name) {
    QSqlQuery q(db);
    q.prepare(QStringLiteral("DELETE FROM settings WHERE name = ?"));
    q.addBindValue(name);
    return exec(q);
}

// ---- transactions ----

Catalogue::ReadSnapshot::ReadSnapshot(Catalogue& c) : catalogue(c) {
    if (catalogue.transactionDepth == 0)
        began = catalogue.run(QStringLiteral("BEGIN DEFERRED"));
}

Catalogue::ReadSnapshot::~ReadSnapshot() {
    if (began)
        catalogue.run(QStringLiteral("COMMIT"));
}

bool Catalogue::notePendingFile(const QString& absolutePath) {
    if (!pendingTableReady)
        pendingTableReady =
            run(QStringLiteral("CREATE TABLE IF NOT EXISTS pending_files (path TEXT PRIMARY KEY, "
                               "pid INTEGER NOT NULL)"));
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT OR REPLACE INTO pending_files (path, pid) VALUES (?, ?)"));
    q.addBindValue(package.toStored(absolutePath));
    q.addBindValue(qint64(::getpid()));
    return pendingTableReady && exec(q);
}

void Catalogue::forgetPendingFile(const QString& absolutePath) {
    if (!pendingTableReady)
        return;
    QSqlQuery q(db);
    q.prepare(QStringLiteral("DELETE FROM pending_files WHERE path = ?"));
    q.addBindValue(package.toStored(absolutePath));
    exec(q);
}

QStringList Catalogue::removeUnclaimedFiles() {
    QStringList removed;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    // A library no import of this version touched has no notes at all.
    if (!q.exec(QStringLiteral("SELECT path, pid FROM pending_files")))
        return removed;
    QStringList gone;
    while (q.next()) {
        const pid_t pid = pid_t(q.value(1).toLongLong());
        if (pid != ::getpid() && (::kill(pid, 0) == 0 || errno != ESRCH))
            continue;
        gone.append(q.value(0).toString());
    }
    q.finish();
    pendingTableReady = true;
    for (const QString& stored : gone) {
        QSqlQuery named(db);
        named.prepare(
            QStringLiteral("SELECT 1 FROM photos WHERE image_path = ? OR original_path = ? LIMIT 1"));
        named.addBindValue(stored);
        named.addBindValue(stored);
        if (!exec(named))
            continue;
        const bool claimed = named.next();
        named.finish();
        const QString path = package.toAbsolute(stored);
        // The file goes before its note: a process killed in between leaves the note to try again.
        if (!claimed && QFileInfo::exists(path)) {
            if (!QFile::remove(path))
                continue;
            removed.append(path);
        }
        forgetPendingFile(path);
    }
    return removed;
}

bool Catalogue::removeChangeLog() {
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'trigger' AND sql LIKE "
                               "'%change_log%'"))) {
        error = q.lastError().text();
        return false;
    }
    QStringList triggers;
    while (q.next())
        triggers.append(q.value(0).toString());
    q.finish();
    const bool leftBehind =
        !triggers.isEmpty() ||
        (q.exec(QStringLiteral("SELECT 1 FROM sqlite_master WHERE name = 'change_log'")) && q.next());
    q.finish();
    if (!leftBehind)
        return true;
    Transaction t(*this);
    for (const QString& trigger : triggers)
        run(QStringLiteral("DROP TRIGGER IF EXISTS \"%1\"").arg(trigger));
    run(QStringLiteral("DROP TABLE IF EXISTS change_log"));
    return t.commit();
}

Catalogue::Transaction::Transaction(Catalogue& c) : catalogue(c) {
    // Nested transactions join the outer one; only the outermost talks to SQLite. IMMEDIATE takes
    // the write lock at once, so two writers queue instead of failing halfway. When it cannot be
    // had, every statement until the end of this transaction is refused.
    if (catalogue.transactionDepth == 0) {
        began = catalogue.run(QStringLiteral("BEGIN IMMEDIATE"));
        catalogue.transactionFailed = !began;
    }
    ++catalogue.transactionDepth;
}

Catalogue::Transaction::~Transaction() {
    if (!open)
        return;
    open = false;
    if (--catalogue.transactionDepth > 0) {
        catalogue.transactionFailed = true;
        return;
    }
    catalogue.transactionFailed = false;
    if (began)
        catalogue.run(QStringLiteral("ROLLBACK"));
}

bool Catalogue::Transaction::commit() {
    if (!open)
        return false;
    open = false;
    if (--catalogue.transactionDepth > 0)
        return !catalogue.transactionFailed;
    const bool failed = catalogue.transactionFailed;
    catalogue.transactionFailed = false;
    if (!began)
        return false;
    if (!failed && catalogue.run(QStringLiteral("COMMIT")))
        return true;
    // A COMMIT that failed leaves the transaction open; end it so that the next one can begin.
    const QString why = catalogue.error;
    catalogue.run(QStringLiteral("ROLLBACK"));
    catalogue.error = why;
    return false;
}

// ---- photos ----

Catalogue::Photo Catalogue::photoFrom(const QSqlQuery& q) const {
    Photo p;
    p.id = q.value(0).toLongLong();
    p.imageFilename = q.value(1).toString();
    p.imagePath = package.toAbsolute(q.value(2).toString());
    p.originalPath = package.toAbsolute(q.value(3).toString());
    p.dateMs = q.value(4).toLongLong();
    p.width = q.value(5).toInt();
    p.height = q.value(6).toInt();
    return p;
}

std::optional<std::pair<Catalogue::Photo, Catalogue::PhotoFaults>> Catalogue::photoWithFaults(qint64 id) {
    const std::optional<PhotoLookup::Row> row = photoLookup->find(id);
    if (!row) {
        error = photoLookup->error();
        return std::nullopt;
    }
    std::pair<Photo, PhotoFaults> result;
    Photo& p = result.first;
    p.id = row->id;
    p.imageFilename = row->imageFilename;
    p.imagePath = package.toAbsolute(row->imagePath);
    // An unedited photo's master is its image: one string serves both.
    p.originalPath =
        row->originalPath == row->imagePath ? p.imagePath : package.toAbsolute(row->originalPath);
    p.dateMs = row->dateMs;
    p.width = row->width;
    p.height = row->height;
    PhotoFaults& faults = result.second;
    for (const auto& [key, kind] : row->faults) {
        switch (kind) {
        case kFaultNull:
            faults.nullKeys.append(key);
            break;
        case kFaultAbsent:
            faults.absentKeys.append(key);
            break;
        case kFaultFailProperties:
            faults.failProperties = true;
            break;
        case kFaultRefuseChanges:
            faults.refuseChanges = true;
            break;
        default:
            break;
        }
    }
    return result;
}

std::optional<Catalogue::Photo> Catalogue::photo(qint64 id) {
    auto found = photoWithFaults(id);
    if (!found)
        return std::nullopt;
    return std::move(found->first);
}

bool Catalogue::photoExists(qint64 id) {
    return photo(id).has_value();
}

QList<Catalogue::Photo> Catalogue::allPhotos() {
    QList<Photo> result;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT id, image_filename, image_path, original_path, date_ms, width, height "
                               "FROM photos ORDER BY id")))
        return result;
    while (q.next())
        result.append(photoFrom(q));
    return result;
}

std::optional<QList<bool>> Catalogue::referencedAmong(const QStringList& absolutePaths) {
    QMultiHash<QString, qsizetype> wanted;
    wanted.reserve(absolutePaths.size());
    for (qsizetype i = 0; i < absolutePaths.size(); ++i)
        wanted.insert(package.toStored(absolutePaths[i]), i);
    QList<bool> referenced(absolutePaths.size(), false);
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT image_path, original_path FROM photos"))) {
        error = q.lastError().text();
        return std::nullopt;
    }
    while (q.next()) {
        for (const int column : {0, 1}) {
            const auto [from, to] = wanted.equal_range(q.value(column).toString());
            for (auto it = from; it != to; ++it)
                referenced[*it] = true;
        }
    }
    return referenced;
}

qint64 Catalogue::addPhoto(const Photo& p) {
    insertPhoto->bindValue(0, p.imageFilename);
    insertPhoto->bindValue(1, package.toStored(p.imagePath));
    insertPhoto->bindValue(2, package.toStored(p.originalPath));
    insertPhoto->bindValue(3, p.dateMs);
    insertPhoto->bindValue(4, p.width);
    insertPhoto->bindValue(5, p.height);
    insertPhoto->bindValue(6, QDateTime::currentMSecsSinceEpoch());
    if (!exec(*insertPhoto))
        return 0;
    const qint64 id = insertPhoto->lastInsertId().toLongLong();
    insertPhoto->finish();
    return id;
}

bool Catalogue::setImagePath(qint64 photoId, const QString& imagePath) {
    QSqlQuery q(db);
    q.prepare(QStringLiteral("UPDATE photos SET image_path = ? WHERE id = ?"));
    q.addBindValue(package.toStored(imagePath));
    q.addBindValue(photoId);
    return exec(q) && q.numRowsAffected() == 1;
}

// ---- albums ----

std::optional<Catalogue::Album> Catalogue::album(qint64 id) {
    albumById->bindValue(0, id);
    if (!exec(*albumById))
        return std::nullopt;
    std::optional<Album> result;
    if (albumById->next())
        result = Album{albumById->value(0).toLongLong(), albumById->value(1).toString(),
                       static_cast<quint32>(albumById->value(2).toLongLong())};
    albumById->finish();
    return result;
}

QList<Catalogue::Album> Catalogue::albums() {
    QList<Album> result;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT id, name, type FROM albums ORDER BY id")))
        return result;
    while (q.next())
        result.append(Album{q.value(0).toLongLong(), q.value(1).toString(),
                            static_cast<quint32>(q.value(2).toLongLong())});
    return result;
}

qint64 Catalogue::createAlbum(const QString& name, quint32 type) {
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO albums (name, type) VALUES (?, ?)"));
    q.addBindValue(name);
    q.addBindValue(static_cast<qint64>(type));
    if (!exec(q))
        return 0;
    return q.lastInsertId().toLongLong();
}

QList<qint64> Catalogue::albumPhotoIds(qint64 albumId) {
    QList<qint64> result;
    photosOfAlbum->bindValue(0, albumId);
    if (!exec(*photosOfAlbum))
        return result;
    while (photosOfAlbum->next())
        result.append(photosOfAlbum->value(0).toLongLong());
    photosOfAlbum->finish();
    return result;
}

qint64 Catalogue::albumPhotoCount(qint64 albumId) {
    countOfAlbum->bindValue(0, albumId);
    if (!exec(*countOfAlbum) || !countOfAlbum->next())
        return 0;
    const qint64 n = countOfAlbum->value(0).toLongLong();
    countOfAlbum->finish();
    return n;
}

bool Catalogue::addToAlbum(qint64 albumId, qint64 photoId) {
    insertMembership->bindValue(0, albumId);
    insertMembership->bindValue(1, photoId);
    insertMembership->bindValue(2, albumId);
    const bool done = exec(*insertMembership);
    insertMembership->finish();
    return done;
}

bool Catalogue::removeFromAlbum(qint64 albumId, qint64 photoId) {
    QSqlQuery q(db);
    q.prepare(QStringLiteral("DELETE FROM album_photos WHERE album_id = ? AND photo_id = ?"));
    q.addBindValue(albumId);
    q.addBindValue(photoId);
    return exec(q) && q.numRowsAffected() > 0;
}

bool Catalogue::moveToTrash(qint64 photoId) {
    Transaction t(*this);
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT 1 FROM album_photos WHERE album_id = ? AND photo_id = ?"));
    q.addBindValue(libraryAlbum);
    q.addBindValue(photoId);
    if (!exec(q) || !q.next())
        return false; // not in the library (already trashed, or unknown)
    q.finish();
    QSqlQuery del(db);
    del.prepare(QStringLiteral("DELETE FROM album_photos WHERE photo_id = ?"));
    del.addBindValue(photoId);
    if (!exec(del) || !addToAlbum(trashAlbum, photoId))
        return false;
    QSqlQuery stamp(db);
    stamp.prepare(QStringLiteral("INSERT OR REPLACE INTO trash (photo_id, trashed_ms) VALUES (?, ?)"));
    stamp.addBindValue(photoId);
    stamp.addBindValue(QDateTime::currentMSecsSinceEpoch());
    return exec(stamp) && t.commit();
}

QList<QPair<qint64, qint64>> Catalogue::allMemberships() {
    QList<QPair<qint64, qint64>> result;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT album_id, photo_id FROM album_photos ORDER BY album_id, position")))
        return result;
    while (q.next())
        result.append({q.value(0).toLongLong(), q.value(1).toLongLong()});
    return result;
}

// ---- keywords ----

QList<Catalogue::Keyword> Catalogue::keywords() {
    QList<Keyword> result;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT id, name FROM keywords ORDER BY id")))
        return result;
    while (q.next())
        result.append(Keyword{q.value(0).toLongLong(), q.value(1).toString()});
    return result;
}

std::optional<Catalogue::Keyword> Catalogue::keyword(qint64 id) {
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT id, name FROM keywords WHERE id = ?"));
    q.addBindValue(id);
    if (!exec(q) || !q.next())
        return std::nullopt;
    return Keyword{q.value(0).toLongLong(), q.value(1).toString()};
}

std::optional<qint64> Catalogue::keywordId(const QString& name) {
    keywordByFolded->bindValue(0, folded(name));
    if (!exec(*keywordByFolded))
        return std::nullopt;
    std::optional<qint64> id;
    if (keywordByFolded->next())
        id = keywordByFolded->value(0).toLongLong();
    keywordByFolded->finish();
    return id;
}

qint64 Catalogue::ensureKeyword(const QString& name) {
    if (const auto id = keywordId(name))
        return *id;
    insertKeyword->bindValue(0, name);
    insertKeyword->bindValue(1, folded(name));
    if (!exec(*insertKeyword))
        return 0;
    const qint64 id = insertKeyword->lastInsertId().toLongLong();
    insertKeyword->finish();
    return id;
}

bool Catalogue::assignKeyword(qint64 photoId, qint64 keywordIdValue) {
    insertPhotoKeyword->bindValue(0, photoId);
    insertPhotoKeyword->bindValue(1, keywordIdValue);
    const bool done = exec(*insertPhotoKeyword);
    insertPhotoKeyword->finish();
    return done;
}

bool Catalogue::renameKeyword(qint64 keywordIdValue, const QString& name) {
    Transaction t(*this);
    const std::optional<qint64> holder = keywordId(name);
    if (holder && *holder != keywordIdValue) {
        error = QStringLiteral("a keyword named \"%1\" already exists").arg(keyword(*holder)->name);
        return false;
    }
    QSqlQuery q(db);
    q.prepare(QStringLiteral("UPDATE keywords SET name = ?, folded = ? WHERE id = ?"));
    q.addBindValue(name);
    q.addBindValue(folded(name));
    q.addBindValue(keywordIdValue);
    if (!exec(q))
        return false;
    if (q.numRowsAffected() != 1) {
        error = QStringLiteral("no keyword with id %1").arg(keywordIdValue);
        return false;
    }
    return t.commit();
}

bool Catalogue::removeKeyword(qint64 keywordIdValue) {
    Transaction t(*this);
    QSqlQuery assignments(db);
    assignments.prepare(QStringLiteral("DELETE FROM photo_keywords WHERE keyword_id = ?"));
    assignments.addBindValue(keywordIdValue);
    QSqlQuery row(db);
    row.prepare(QStringLiteral("DELETE FROM keywords WHERE id = ?"));
    row.addBindValue(keywordIdValue);
    if (!exec(assignments) || !exec(row))
        return false;
    if (row.numRowsAffected() != 1) {
        error = QStringLiteral("no keyword with id %1").arg(keywordIdValue);
        return false;
    }
    return t.commit();
}

QList<QPair<qint64, QString>> Catalogue::allPhotoKeywords() {
    QList<QPair<qint64, QString>> result;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT pk.photo_id, k.name FROM photo_keywords pk JOIN keywords k ON k.id = "
                               "pk.keyword_id ORDER BY pk.photo_id, k.id")))
        return result;
    while (q.next())
        result.append({q.value(0).toLongLong(), q.value(1).toString()});
    return result;
}

// ---- selection ----

QList<Catalogue::SelectionItem> Catalogue::selection() {
    QList<SelectionItem> result;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT kind, object_id FROM selection ORDER BY position")))
        return result;
    while (q.next()) {
        SelectionItem item;
        item.kind = q.value(0).toInt() == 1 ? SelectionItem::Kind::Album : SelectionItem::Kind::Photo;
        item.id = q.value(1).toLongLong();
        result.append(item);
    }
    return result;
}

bool Catalogue::setSelection(const QList<SelectionItem>& items) {
    Transaction t(*this);
    if (!run(QStringLiteral("DELETE FROM selection")))
        return false;
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO selection (position, kind, object_id) VALUES (?, ?, ?)"));
    int position = 0;
    for (const SelectionItem& item : items) {
        q.bindValue(0, ++position);
        q.bindValue(1, item.kind == SelectionItem::Kind::Album ? 1 : 0);
        q.bindValue(2, item.id);
        if (!exec(q))
            return false;
    }
    return t.commit();
}

// ---- faults ----

bool Catalogue::setKeyFault(qint64 photoId, const QString& key, bool absent) {
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT OR REPLACE INTO photo_faults (photo_id, key, kind) VALUES (?, ?, ?)"));
    q.addBindValue(photoId);
    q.addBindValue(key);
    q.addBindValue(absent ? kFaultAbsent : kFaultNull);
    return exec(q);
}

bool Catalogue::setFailProperties(qint64 photoId) {
    QSqlQuery q(db);
    // The empty key cannot be a property name, so it marks the whole answer.
    q.prepare(QStringLiteral("INSERT OR REPLACE INTO photo_faults (photo_id, key, kind) VALUES (?, '', ?)"));
    q.addBindValue(photoId);
    q.addBindValue(kFaultFailProperties);
    return exec(q);
}

bool Catalogue::setRefuseChanges(qint64 photoId) {
    QSqlQuery q(db);
    // A key no property can have marks the photo as a whole.
    q.prepare(QStringLiteral("INSERT OR REPLACE INTO photo_faults (photo_id, key, kind) VALUES (?, '*', ?)"));
    q.addBindValue(photoId);
    q.addBindValue(kFaultRefuseChanges);
    return exec(q);
}

bool Catalogue::refusesChanges(qint64 photoId) {
    const auto found = photoWithFaults(photoId);
    return found && found->second.refuseChanges;
}

std::optional<Catalogue::VersionError> Catalogue::versionError() {
    const QString name = setting(QString::fromLatin1(kSettingVersionErrorName));
    if (name.isEmpty())
        return std::nullopt;
    return VersionError{name, setting(QString::fromLatin1(kSettingVersionErrorMessage))};
}

bool Catalogue::setVersionError(const QString& name, const QString& message) {
    Transaction t(*this);
    return setSetting(QString::fromLatin1(kSettingVersionErrorName), name) &&
           setSetting(QString::fromLatin1(kSettingVersionErrorMessage), message) && t.commit();
}

int Catalogue::importDelayMs() {
    return setting(QString::fromLatin1(kSettingImportDelay)).toInt();
}

bool Catalogue::setImportDelayMs(int ms) {
    return setSetting(QString::fromLatin1(kSettingImportDelay), QString::number(ms));
}

bool Catalogue::stopsBeforeRecord() {
    return !setting(QString::fromLatin1(kSettingStopBeforeRecord)).isEmpty();
}

bool Catalogue::setStopBeforeRecord() {
    return setSetting(QString::fromLatin1(kSettingStopBeforeRecord), QStringLiteral("1"));
}

bool Catalogue::clearFaults() {
    Transaction t(*this);
    return run(QStringLiteral("DELETE FROM photo_faults")) &&
           removeSetting(QString::fromLatin1(kSettingStopBeforeRecord)) &&
           removeSetting(QString::fromLatin1(kSettingVersionErrorName)) &&
           removeSetting(QString::fromLatin1(kSettingVersionErrorMessage)) &&
           removeSetting(QString::fromLatin1(kSettingImportDelay)) && t.commit();
}
