/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "photoapp/Catalogue.h"
#include "photoapp/window/ChangeLog.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QTimer>
#include <memory>

// What the window shows of the library, kept in memory: every photo's file name, image path and
// keywords, the keywords' names, the albums and the selection. Loaded whole once, then brought up
// to date several times a second from the catalogue's change log, a change at a time, whoever made
// it. Album contents are read when an album is shown and followed through membershipsChanged.
// The window's own changes go through catalogue() and come back the same way as anyone else's.
class LibraryMirror : public QObject {
    Q_OBJECT
public:
    struct Photo {
        QString fileName;
        QString storedImagePath;
        QList<qint64> keywordIds;
    };
    struct MembershipChange {
        qint64 albumId = 0;
        qint64 photoId = 0;
        bool added = false;
    };

    static std::unique_ptr<LibraryMirror> open(const LibraryPackage& library, QString* error);
    ~LibraryMirror() override;

    Catalogue& catalogue() { return *writer; }
    const LibraryPackage& library() const { return writer->library(); }
    qint64 libraryAlbumId() const { return writer->libraryAlbumId(); }
    qint64 trashAlbumId() const { return writer->trashAlbumId(); }

    const Photo* photo(qint64 id) const;
    QString imagePath(qint64 photoId) const; // absolute
    // Whether the photo carries a keyword Vup tags missing files with.
    bool isFlagged(qint64 photoId) const;
    QStringList keywordNames(qint64 photoId) const;

    const QHash<qint64, QString>& keywords() const { return keywordNamesById; }
    // Keywords whose name holds `text`, whatever its case.
    QSet<qint64> keywordsContaining(const QString& text) const;
    qint64 photosWithKeyword(qint64 keywordId) { return log->photosWithKeyword(keywordId); }

    const QList<Catalogue::Album>& albums() const { return albumList; }
    const QList<Catalogue::SelectionItem>& selection() const { return selected; }
    // The album's photos in album order, as the catalogue holds them now.
    QList<qint64> albumPhotoIds(qint64 albumId) { return writer->albumPhotoIds(albumId); }

    // Reads the changes made since the last look; the timer calls it too.
    void refresh();

signals:
    // Everything was read afresh: what was known of any album may be out of date.
    void reloaded();
    void albumsChanged();
    void keywordsChanged();
    void photosChanged(const QList<qint64>& photoIds); // their rows or their keywords
    void membershipsChanged(const QList<LibraryMirror::MembershipChange>& changes); // in order
    void selectionChanged();

private:
    LibraryMirror(std::unique_ptr<Catalogue> catalogue, std::unique_ptr<ChangeLog> changeLog);
    void load();
    void apply(const QList<ChangeLog::Change>& changes);
    void setKeyword(qint64 id, const std::optional<QString>& name);

    std::unique_ptr<Catalogue> writer;
    std::unique_ptr<ChangeLog> log;
    qint64 seen = 0;
    bool refreshing = false;
    QHash<qint64, Photo> photos;
    QHash<qint64, QString> keywordNamesById;
    QSet<qint64> flaggingKeywords;
    QList<Catalogue::Album> albumList;
    QList<Catalogue::SelectionItem> selected;
    QTimer poll;
};
