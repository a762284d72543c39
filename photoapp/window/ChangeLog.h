/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "photoapp/LibraryPackage.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <memory>
#include <optional>

// What the window learns of changes to the catalogue, whoever makes them: the service, another
// photoapp process writing directly, or the window itself. Triggers append one row per changed row
// of the tables the window shows to a log; the window reads the log from where it last stopped, so
// a change costs it the rows it names, never a second look at the whole catalogue. The log keeps
// its last 100,000 or so rows; a reader that fell further behind is told to load everything afresh.
// The window installs the log when it opens and takes it away when it closes: a library nobody
// watches pays nothing for it.
class ChangeLog {
public:
    struct Change {
        enum Kind {
            Photo = 1,           // a: photo id; its row was added, changed or removed
            AlbumPhotoAdded,     // a: album id, b: photo id
            AlbumPhotoRemoved,   // a: album id, b: photo id
            Album,               // a: album id
            Keyword,             // a: keyword id
            PhotoKeywordAdded,   // a: photo id, b: keyword id
            PhotoKeywordRemoved, // a: photo id, b: keyword id
            Selection,
        };
        qint64 seq = 0;
        Kind kind = Photo;
        qint64 a = 0;
        qint64 b = 0;
    };
    // The part of a photo's row the window shows.
    struct PhotoRow {
        qint64 id = 0;
        QString fileName;
        QString storedImagePath; // as the catalogue stores it: relative to the package or absolute
    };

    // Opens a connection of its own and installs the log and its triggers.
    static std::unique_ptr<ChangeLog> open(const LibraryPackage& library, QString* error);
    ~ChangeLog(); // removes the log again
    ChangeLog(const ChangeLog&) = delete;
    ChangeLog& operator=(const ChangeLog&) = delete;

    // The number of the last change; what is read after this call reflects at least this change.
    qint64 last();
    // Changes after `seq`, oldest first. Nothing when they cannot all be told: some were dropped
    // from the log, or there are more than `limit`.
    std::optional<QList<Change>> since(qint64 seq, int limit);
    // Whether any other connection committed since the last time this was asked; one call costs
    // no disk access, so it can be asked often.
    bool othersCommitted();

    // What a change names, and the whole of it for a fresh load.
    QList<PhotoRow> photos();
    std::optional<PhotoRow> photo(qint64 id);
    QList<QPair<qint64, qint64>> photoKeywords(); // (photo id, keyword id)
    qint64 photosWithKeyword(qint64 keywordId);

    QString lastError() const { return error; }

private:
    explicit ChangeLog(QSqlDatabase database);
    bool run(const QString& sql);

    QString connectionName;
    QSqlDatabase db;
    qint64 dataVersion = -1;
    QString error;
};
