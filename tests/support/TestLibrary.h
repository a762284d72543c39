/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "tests/support/PhotoAppProcess.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

// A photo library for one test, built with photoapp's own command line in a temporary folder
// (or at `path`, its folders made): catalogue rows that name files the test writes (or does not),
// zombies, faults, keywords, selection. Its service stops and its files go with it, whatever bytes
// their names hold.
class TestLibrary {
public:
    explicit TestLibrary(const QString& path = {});
    ~TestLibrary();
    TestLibrary(const TestLibrary&) = delete;
    TestLibrary& operator=(const TestLibrary&) = delete;
    bool isValid() const { return valid; }
    QString path() const { return libraryPath; }
    QString folder() const { return dir.path(); }

    // Writes a file of `size` bytes under the test folder and answers its absolute path.
    QString writeFile(const QString& relative, int size = 100);
    // A path under the test folder where no file is.
    QString missingPath(const QString& relative) const { return dir.filePath(relative); }

    // Replaces the library by `photoapp demo` with these counts.
    bool demo(int photos, int missingImages, int missingMasters, int zombies);
    // Writes a file below the library's Masters folder that no photo names; `relative` need not be
    // UTF-8. Answers its native path, empty on failure.
    QByteArray addZombie(const QByteArray& relative, const QByteArray& content = QByteArray(100, 'x'));
    // Copies a file to a path inside the library package, making its folders.
    bool copyIntoLibrary(const QString& source, const QString& relative);
    // Every file below a folder of the library package: "relative/path size", sorted.
    QStringList filesUnder(const QString& relative) const;

    // A catalogue row naming these paths; answers its id, 0 on failure.
    qint64 addPhoto(const QString& image, const QString& original = {}, int width = 64, int height = 48);
    bool fault(const QStringList& args);
    // One photo's fault: `kind` is "--null" or "--absent" with a property `key`, or
    // "--fail-properties" alone.
    bool faultPhoto(qint64 photoId, const QString& kind, const QString& key = {});
    bool addKeyword(const QString& name);
    bool addIssueKeywords();
    bool selectPhotos(const QList<qint64>& ids);
    bool selectAlbum(qint64 id);
    qint64 createAlbum(const QString& name);

    // `photoapp serve` of this library with `extraArgs` on the test's bus.
    bool serve(const QStringList& extraArgs = {});
    void stop();
    qint64 pid() const { return server ? server->pid() : 0; }
    // The running service, for a test that kills or suspends it; null when not served.
    PhotoAppProcess* service() const { return server.get(); }
    QJsonObject dump() const { return PhotoAppProcess::dump(libraryPath); }
    // Keyword names of one photo in the catalogue, and the photo ids of an album.
    QStringList keywordsOf(qint64 photoId) const;
    QList<qint64> photosOfAlbum(qint64 albumId) const;
    // The first photo whose image file is (or is not) there; 0 when there is none.
    qint64 firstPhotoWhoseImageIs(bool there) const;
    qint64 trashAlbumId() const;
    qint64 libraryAlbumId() const;

private:
    bool run(const QStringList& args, QByteArray* out = nullptr);

    QTemporaryDir dir;
    QString libraryPath;
    bool valid = false;
    std::unique_ptr<PhotoAppProcess> server;
};
