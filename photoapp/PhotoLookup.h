/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

struct sqlite3;
struct sqlite3_stmt;

// The one statement on the path of every property request: a photo and its injected faults by id,
// in one step through SQLite's own interface. Going through QtSql here costs several times more
// than the lookup itself, and a scan asks this once per photo.
class PhotoLookup {
public:
    struct Row {
        qint64 id = 0;
        QString imageFilename;
        QString imagePath;    // as stored: relative to the package or absolute
        QString originalPath; // as stored
        qint64 dateMs = 0;
        int width = 0;
        int height = 0;
        // Injected faults: (key, kind) pairs.
        QList<QPair<QString, int>> faults;
    };

    // `db` is the connection's handle; it must outlive this object.
    explicit PhotoLookup(sqlite3* db);
    ~PhotoLookup();
    PhotoLookup(const PhotoLookup&) = delete;
    PhotoLookup& operator=(const PhotoLookup&) = delete;

    bool isValid() const { return statement != nullptr; }
    QString error() const { return lastError; }

    std::optional<Row> find(qint64 id);

private:
    sqlite3* db;
    sqlite3_stmt* statement = nullptr;
    QString lastError;
};
