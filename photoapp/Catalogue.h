/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "photoapp/LibraryPackage.h"
#include "photoapp/PhotoLookup.h"

#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

// The library's SQLite catalogue. It is the one source of truth: the service keeps no copy of its
// rows, so a change written by a `photoapp` subcommand (selection, faults, keywords) reaches a
// running service with its next request, and a killed process leaves nothing half-written behind
// (WAL journal, every multi-row write in one transaction). One instance per thread.
class Catalogue {
public:
    struct Photo {
        qint64 id = 0;
        QString imageFilename;
        QString imagePath;    // absolute
        QString originalPath; // absolute; equals imagePath for an unedited photo
        qint64 dateMs = 0;
        int width = 0;
        int height = 0;
    };
    struct Album {
        qint64 id = 0;
        QString name;
        quint32 type = 0;
    };
    struct Keyword {
        qint64 id = 0;
        QString name;
    };
    struct SelectionItem {
        enum class Kind { Photo, Album };
        Kind kind = Kind::Photo;
        qint64 id = 0;
        bool operator==(const SelectionItem&) const = default;
    };
    // Injected states of one photo's property answer.
    struct PhotoFaults {
        bool failProperties = false;
        bool refuseChanges = false; // keyword assignments and removals of the photo are refused
        QStringList nullKeys;
        QStringList absentKeys;
    };
    struct VersionError {
        QString name;
        QString message;
    };

    // Makes a new catalogue file, which must not exist yet, with the library and trash albums.
    static std::unique_ptr<Catalogue> create(const LibraryPackage& library, QString* error);
    // Opens an existing catalogue. A file that is not an SQLite database of this application is
    // refused without being written to.
    static std::unique_ptr<Catalogue> open(const LibraryPackage& library, QString* error);

    ~Catalogue();
    Catalogue(const Catalogue&) = delete;
    Catalogue& operator=(const Catalogue&) = delete;

    const LibraryPackage& library() const { return package; }

    // Begins a write transaction; commit() ends it, the destructor rolls back what was not committed.
    class Transaction {
    public:
        explicit Transaction(Catalogue& c);
        ~Transaction();
        Transaction(const Transaction&) = delete;
        Transaction& operator=(const Transaction&) = delete;
        bool commit();

    private:
        Catalogue& catalogue;
        bool open = true;
        bool began = false; // the outermost one only: BEGIN succeeded
    };

    // One snapshot for every read until it ends: what another process commits meanwhile is not
    // seen half.
    class ReadSnapshot {
    public:
        explicit ReadSnapshot(Catalogue& c);
        ~ReadSnapshot();
        ReadSnapshot(const ReadSnapshot&) = delete;
        ReadSnapshot& operator=(const ReadSnapshot&) = delete;

    private:
        Catalogue& catalogue;
        bool began = false;
    };

    // Files an import is about to name in Masters/, noted (and committed) before they get their
    // name and forgotten in the transaction that records their photo: a process killed between
    // the two leaves a note, and the file it names is removed when the library is next served.
    bool notePendingFile(const QString& absolutePath);
    void forgetPendingFile(const QString& absolutePath);
    // Removes the files noted by processes that are gone that no photo names, and their notes;
    // answers the files removed. Notes of a process still running stay.
    QStringList removeUnclaimedFiles();
    // Takes away a window's change log and its triggers, left behind by a window that was killed:
    // without a window they would slow every write for nobody.
    bool removeChangeLog();

    qint64 libraryAlbumId() const { return libraryAlbum; }
    qint64 trashAlbumId() const { return trashAlbum; }

    // Photos
    std::optional<Photo> photo(qint64 id);
    // A photo and its injected faults in one lookup: the property request's path.
    std::optional<std::pair<Photo, PhotoFaults>> photoWithFaults(qint64 id);
    QList<Photo> allPhotos();
    qint64 addPhoto(const Photo& photo); // returns the new id, 0 on failure
    bool setImagePath(qint64 photoId, const QString& imagePath);
    bool photoExists(qint64 id);
    // Per absolute path: whether some photo names it as its image or its original, read in one
    // pass over the photos. Empty, with lastError(), when the catalogue cannot be read.
    std::optional<QList<bool>> referencedAmong(const QStringList& absolutePaths);

    // Albums
    std::optional<Album> album(qint64 id);
    QList<Album> albums();
    qint64 createAlbum(const QString& name, quint32 type);
    QList<qint64> albumPhotoIds(qint64 albumId);
    qint64 albumPhotoCount(qint64 albumId);
    bool addToAlbum(qint64 albumId, qint64 photoId);
    bool removeFromAlbum(qint64 albumId, qint64 photoId);
    // The photo leaves the library album and every other album and joins the trash album.
    bool moveToTrash(qint64 photoId);
    // (album id, photo id) for every membership, in album order.
    QList<QPair<qint64, qint64>> allMemberships();

    // Keywords. A name finds a keyword whatever its case (the first one made, should a library
    // from before hold the same name in two spellings).
    QList<Keyword> keywords();
    std::optional<Keyword> keyword(qint64 id);
    std::optional<qint64> keywordId(const QString& name);
    qint64 ensureKeyword(const QString& name);
    bool assignKeyword(qint64 photoId, qint64 keywordId);
    // Renaming to the name of another keyword, whatever its case, is refused: two keywords one
    // request cannot tell apart. A change of case alone is a rename like any other.
    bool renameKeyword(qint64 keywordId, const QString& name);
    // The keyword leaves every photo it was assigned to, then the library.
    bool removeKeyword(qint64 keywordId);
    // (photo id, keyword name) for every assignment.
    QList<QPair<qint64, QString>> allPhotoKeywords();

    // Selection
    QList<SelectionItem> selection();
    bool setSelection(const QList<SelectionItem>& items);

    // Faults
    bool setKeyFault(qint64 photoId, const QString& key, bool absent);
    bool setFailProperties(qint64 photoId);
    bool setRefuseChanges(qint64 photoId);
    bool refusesChanges(qint64 photoId);
    std::optional<VersionError> versionError();
    bool setVersionError(const QString& name, const QString& message);
    int importDelayMs();
    bool setImportDelayMs(int ms);
    // An import stops its own process (SIGSTOP) once a copy has its name, before its row is
    // recorded: the instant a test kills it at.
    bool stopsBeforeRecord();
    bool setStopBeforeRecord();
    bool clearFaults();

    QString lastError() const { return error; }

private:
    Catalogue(const LibraryPackage& library, QSqlDatabase database);
    bool prepareStatements();
    void setDurability();
    bool addKeywordFolding();
    bool refusedInFailedTransaction() const;
    bool exec(QSqlQuery& q);
    bool run(const QString& sql);
    QString setting(const QString& name);
    bool setSetting(const QString& name, const QString& value);
    bool removeSetting(const QString& name);
    Photo photoFrom(const QSqlQuery& q) const;

    LibraryPackage package;
    QString connectionName;
    QSqlDatabase db;
    qint64 libraryAlbum = 0;
    qint64 trashAlbum = 0;
    QString error;
    int transactionDepth = 0;
    bool pendingTableReady = false;
    bool transactionFailed = false;

    // Statements on the request path, prepared once.
    std::unique_ptr<PhotoLookup> photoLookup;
    std::unique_ptr<QSqlQuery> albumById;
    std::unique_ptr<QSqlQuery> photosOfAlbum;
    std::unique_ptr<QSqlQuery> countOfAlbum;
    std::unique_ptr<QSqlQuery> insertPhoto;
    std::unique_ptr<QSqlQuery> insertMembership;
    std::unique_ptr<QSqlQuery> keywordByFolded;
    std::unique_ptr<QSqlQuery> insertKeyword;
    std::unique_ptr<QSqlQuery> insertPhotoKeyword;
};
