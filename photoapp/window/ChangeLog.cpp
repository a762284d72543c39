/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "photoapp/window/ChangeLog.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QVariant>
#include <atomic>

namespace {

// Rows kept in the log; trimmed a thousand at a time so that a write pays for trimming rarely.
constexpr int kKeptChanges = 100000;
constexpr int kTrimEvery = 1000;

const char* const kTriggers[][2] = {
    {"photo_added", "AFTER INSERT ON photos BEGIN INSERT INTO change_log (kind, a) VALUES (1, NEW.id); END"},
    {"photo_changed",
     "AFTER UPDATE ON photos BEGIN INSERT INTO change_log (kind, a) VALUES (1, NEW.id); END"},
    {"photo_removed",
     "AFTER DELETE ON photos BEGIN INSERT INTO change_log (kind, a) VALUES (1, OLD.id); END"},
    {"album_photo_added", "AFTER INSERT ON album_photos BEGIN INSERT INTO change_log (kind, a, b) VALUES "
                          "(2, NEW.album_id, NEW.photo_id); END"},
    {"album_photo_removed", "AFTER DELETE ON album_photos BEGIN INSERT INTO change_log (kind, a, b) VALUES "
                            "(3, OLD.album_id, OLD.photo_id); END"},
    {"album_added", "AFTER INSERT ON albums BEGIN INSERT INTO change_log (kind, a) VALUES (4, NEW.id); END"},
    {"album_changed",
     "AFTER UPDATE ON albums BEGIN INSERT INTO change_log (kind, a) VALUES (4, NEW.id); END"},
    {"album_removed",
     "AFTER DELETE ON albums BEGIN INSERT INTO change_log (kind, a) VALUES (4, OLD.id); END"},
    {"keyword_added",
     "AFTER INSERT ON keywords BEGIN INSERT INTO change_log (kind, a) VALUES (5, NEW.id); END"},
    {"keyword_changed",
     "AFTER UPDATE ON keywords BEGIN INSERT INTO change_log (kind, a) VALUES (5, NEW.id); END"},
    {"keyword_removed",
     "AFTER DELETE ON keywords BEGIN INSERT INTO change_log (kind, a) VALUES (5, OLD.id); END"},
    {"photo_keyword_added", "AFTER INSERT ON photo_keywords BEGIN INSERT INTO change_log (kind, a, b) VALUES "
                            "(6, NEW.photo_id, NEW.keyword_id); END"},
    {"photo_keyword_removed", "AFTER DELETE ON photo_keywords BEGIN INSERT INTO change_log (kind, a, b) "
                              "VALUES (7, OLD.photo_id, OLD.keyword_id); END"},
    // The selection is only ever written whole, from its first position on: its first row going
    // or coming marks every change, and selecting 100,000 photos logs two rows, not 200,000.
    {"selection_added",
     "AFTER INSERT ON selection WHEN NEW.position = 1 BEGIN INSERT INTO change_log (kind) VALUES (8); END"},
    {"selection_removed",
     "AFTER DELETE ON selection WHEN OLD.position = 1 BEGIN INSERT INTO change_log (kind) VALUES (8); END"},
};

QString triggerName(const char* name) {
    return QStringLiteral("change_log_%1").arg(QLatin1StringView(name));
}

QString nextConnectionName() {
    static std::atomic<int> counter{0};
    return QStringLiteral("photoapp-change-log-%1").arg(counter.fetch_add(1));
}

} // namespace

ChangeLog::ChangeLog(QSqlDatabase database)
    : connectionName(database.connectionName()), db(std::move(database)) {}

std::unique_ptr<ChangeLog> ChangeLog::open(const LibraryPackage& library, QString* error) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nextConnectionName());
    // The catalogue exists already (the window's Catalogue opened it): never make a new one.
    db.setDatabaseName(QUrl::fromLocalFile(library.catalogueFile()).toString(QUrl::FullyEncoded) +
                       QStringLiteral("?mode=rw"));
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000;QSQLITE_OPEN_URI"));
    std::unique_ptr<ChangeLog> log(new ChangeLog(db));
    if (!log->db.open()) {
        *error = QStringLiteral("cannot open the catalogue %1: %2")
                     .arg(library.catalogueFile(), log->db.lastError().text());
        return nullptr;
    }
    bool made = log->run(QStringLiteral("BEGIN IMMEDIATE")) &&
                log->run(QStringLiteral("CREATE TABLE IF NOT EXISTS change_log (seq INTEGER PRIMARY KEY "
                                        "AUTOINCREMENT, kind INTEGER NOT NULL, a INTEGER NOT NULL DEFAULT 0, "
                                        "b INTEGER NOT NULL DEFAULT 0)")) &&
                log->run(QStringLiteral("CREATE TRIGGER IF NOT EXISTS change_log_trim AFTER INSERT ON "
                                        "change_log WHEN NEW.seq % %1 = 0 BEGIN DELETE FROM change_log "
                                        "WHERE seq <= NEW.seq - %2; END")
                             .arg(kTrimEvery)
                             .arg(kKeptChanges));
    for (const auto& [name, body] : kTriggers) {
        made = made && log->run(QStringLiteral("CREATE TRIGGER IF NOT EXISTS %1 %2")
                                    .arg(triggerName(name), QLatin1StringView(body)));
    }
    if (!made || !log->run(QStringLiteral("COMMIT"))) {
        *error =
            QStringLiteral("cannot follow the changes of %1: %2").arg(library.catalogueFile(), log->error);
        log->run(QStringLiteral("ROLLBACK"));
        return nullptr;
    }
    log->othersCommitted();
    return log;
}

ChangeLog::~ChangeLog() {
    // Best effort: a log left behind (another writer held the catalogue too long) keeps trimming
    // itself, and the next window takes it over.
    bool removed = run(QStringLiteral("BEGIN IMMEDIATE"));
    for (const auto& [name, body] : kTriggers)
        removed = removed && run(QStringLiteral("DROP TRIGGER IF EXISTS %1").arg(triggerName(name)));
    removed = removed && run(QStringLiteral("DROP TABLE IF EXISTS change_log"));
    if (!removed || !run(QStringLiteral("COMMIT")))
        run(QStringLiteral("ROLLBACK"));
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(connectionName);
}

bool ChangeLog::run(const QString& sql) {
    QSqlQuery q(db);
    if (q.exec(sql))
        return true;
    error = q.lastError().text();
    return false;
}

qint64 ChangeLog::last() {
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT COALESCE(MAX(seq), 0) FROM change_log")) || !q.next())
        return 0;
    return q.value(0).toLongLong();
}

std::optional<QList<ChangeLog::Change>> ChangeLog::since(qint64 seq, int limit) {
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT seq, kind, a, b FROM change_log WHERE seq > ? ORDER BY seq LIMIT ?"));
    q.addBindValue(seq);
    q.addBindValue(limit + 1);
    if (!q.exec()) {
        error = q.lastError().text();
        return std::nullopt;
    }
    QList<Change> changes;
    while (q.next()) {
        Change c;
        c.seq = q.value(0).toLongLong();
        c.kind = static_cast<Change::Kind>(q.value(1).toInt());
        c.a = q.value(2).toLongLong();
        c.b = q.value(3).toLongLong();
        // Numbers follow each other without a gap (AUTOINCREMENT, and a rolled back change gives
        // its numbers back): a gap is the trimming's.
        if (c.seq != seq + 1 + changes.size())
            return std::nullopt;
        changes.append(c);
    }
    if (changes.size() > limit)
        return std::nullopt;
    return changes;
}

bool ChangeLog::othersCommitted() {
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA data_version")) || !q.next())
        return true;
    const qint64 version = q.value(0).toLongLong();
    const bool changed = version != dataVersion;
    dataVersion = version;
    return changed;
}

QList<ChangeLog::PhotoRow> ChangeLog::photos() {
    QList<PhotoRow> rows;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT id, image_filename, image_path FROM photos"))) {
        error = q.lastError().text();
        return rows;
    }
    while (q.next())
        rows.append(PhotoRow{q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toString()});
    return rows;
}

std::optional<ChangeLog::PhotoRow> ChangeLog::photo(qint64 id) {
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT id, image_filename, image_path FROM photos WHERE id = ?"));
    q.addBindValue(id);
    if (!q.exec() || !q.next())
        return std::nullopt;
    return PhotoRow{q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toString()};
}

QList<QPair<qint64, qint64>> ChangeLog::photoKeywords() {
    QList<QPair<qint64, qint64>> pairs;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(
            QStringLiteral("SELECT photo_id, keyword_id FROM photo_keywords ORDER BY photo_id, keyword_id")))
        return pairs;
    while (q.next())
        pairs.append({q.value(0).toLongLong(), q.value(1).toLongLong()});
    return pairs;
}

qint64 ChangeLog::photosWithKeyword(qint64 keywordId) {
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT COUNT(*) FROM photo_keywords WHERE keyword_id = ?"));
    q.addBindValue(keywordId);
    if (!q.exec() || !q.next())
        return 0;
    return q.value(0).toLongLong();
}
