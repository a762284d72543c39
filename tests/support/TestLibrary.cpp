/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "tests/support/TestLibrary.h"

#include "tests/support/FileTree.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>

TestLibrary::TestLibrary(const QString& path) {
    libraryPath = path.isEmpty() ? dir.filePath(QStringLiteral("Test.photolibrary")) : path;
    valid = dir.isValid() && QDir().mkpath(QFileInfo(libraryPath).absolutePath()) &&
            run({QStringLiteral("create"), libraryPath});
}

TestLibrary::~TestLibrary() {
    stop();
    FileTree::removeAll(QFile::encodeName(libraryPath));
}

bool TestLibrary::run(const QStringList& args, QByteArray* out) {
    const PhotoAppProcess::Result r = PhotoAppProcess::run(args);
    if (r.exitCode != 0) {
        qWarning("photoapp %s failed: %s", qPrintable(args.join(u' ')), r.err.constData());
        return false;
    }
    if (out)
        *out = r.out;
    return true;
}

QString TestLibrary::writeFile(const QString& relative, int size) {
    const QString path = dir.filePath(relative);
    return FileTree::write(path, QByteArray(size, 'x')) ? path : QString();
}

bool TestLibrary::demo(int photos, int missingImages, int missingMasters, int zombies) {
    QDir(libraryPath).removeRecursively();
    return run({QStringLiteral("demo"), libraryPath, QStringLiteral("--photos"), QString::number(photos),
                QStringLiteral("--missing-images"), QString::number(missingImages),
                QStringLiteral("--missing-masters"), QString::number(missingMasters),
                QStringLiteral("--zombies"), QString::number(zombies)});
}

QByteArray TestLibrary::addZombie(const QByteArray& relative, const QByteArray& content) {
    const QByteArray path = QFile::encodeName(libraryPath) + "/Masters/" + relative;
    return FileTree::write(path, content) ? path : QByteArray();
}

bool TestLibrary::copyIntoLibrary(const QString& source, const QString& relative) {
    const QString target = libraryPath + u'/' + relative;
    return QDir().mkpath(QFileInfo(target).absolutePath()) && QFile::copy(source, target);
}

QStringList TestLibrary::filesUnder(const QString& relative) const {
    const QDir top(libraryPath + u'/' + relative);
    QStringList files;
    QDirIterator it(top.path(), QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo f(it.next());
        files.append(top.relativeFilePath(f.filePath()) + u' ' + QString::number(f.size()));
    }
    files.sort();
    return files;
}

qint64 TestLibrary::addPhoto(const QString& image, const QString& original, int width, int height) {
    QStringList args{QStringLiteral("photo"), QStringLiteral("add-record"), libraryPath};
    args << QStringLiteral("--image") << image << QStringLiteral("--width") << QString::number(width)
         << QStringLiteral("--height") << QString::number(height);
    if (!original.isEmpty())
        args << QStringLiteral("--original") << original;
    QByteArray out;
    if (!run(args, &out))
        return 0;
    return out.trimmed().toLongLong();
}

bool TestLibrary::fault(const QStringList& args) {
    return run(QStringList{QStringLiteral("fault"), libraryPath} + args);
}

bool TestLibrary::faultPhoto(qint64 photoId, const QString& kind, const QString& key) {
    QStringList args{QStringLiteral("--photo"), QString::number(photoId), kind};
    if (!key.isEmpty())
        args.append(key);
    return fault(args);
}

bool TestLibrary::addKeyword(const QString& name) {
    return run({QStringLiteral("keyword"), QStringLiteral("add"), libraryPath, name});
}

bool TestLibrary::addIssueKeywords() {
    return addKeyword(QStringLiteral("Vup Missing")) && addKeyword(QStringLiteral("Vup Master Missing"));
}

bool TestLibrary::selectPhotos(const QList<qint64>& ids) {
    QStringList args{QStringLiteral("select"), libraryPath, QStringLiteral("--photos")};
    for (qint64 id : ids)
        args << QString::number(id);
    return run(args);
}

bool TestLibrary::selectAlbum(qint64 id) {
    return run({QStringLiteral("select"), libraryPath, QStringLiteral("--album"), QString::number(id)});
}

qint64 TestLibrary::createAlbum(const QString& name) {
    QByteArray out;
    if (!run({QStringLiteral("album"), QStringLiteral("create"), libraryPath, name}, &out))
        return 0;
    return out.trimmed().toLongLong();
}

bool TestLibrary::serve(const QStringList& extraArgs) {
    server = std::make_unique<PhotoAppProcess>();
    return server->serve(libraryPath, extraArgs);
}

void TestLibrary::stop() {
    if (server)
        server->stop();
    server.reset();
}

QStringList TestLibrary::keywordsOf(qint64 photoId) const {
    for (const QJsonValue& p : dump().value(QStringLiteral("photos")).toArray()) {
        const QJsonObject photo = p.toObject();
        if (photo.value(QStringLiteral("id")).toInteger() != photoId)
            continue;
        QStringList names;
        for (const QJsonValue& k : photo.value(QStringLiteral("keywords")).toArray())
            names.append(k.toString());
        names.sort();
        return names;
    }
    return {};
}

QList<qint64> TestLibrary::photosOfAlbum(qint64 albumId) const {
    QList<qint64> ids;
    for (const QJsonValue& a : dump().value(QStringLiteral("albums")).toArray()) {
        const QJsonObject album = a.toObject();
        if (album.value(QStringLiteral("id")).toInteger() != albumId)
            continue;
        for (const QJsonValue& p : album.value(QStringLiteral("photos")).toArray())
            ids.append(p.toInteger());
    }
    return ids;
}

qint64 TestLibrary::firstPhotoWhoseImageIs(bool there) const {
    for (const QJsonValue& p : dump().value(QStringLiteral("photos")).toArray()) {
        const QJsonObject photo = p.toObject();
        if (QFile::exists(photo.value(QStringLiteral("imagePath")).toString()) == there)
            return photo.value(QStringLiteral("id")).toInteger();
    }
    return 0;
}

qint64 TestLibrary::trashAlbumId() const {
    return dump().value(QStringLiteral("trashAlbum")).toInteger();
}
qint64 TestLibrary::libraryAlbumId() const {
    return dump().value(QStringLiteral("libraryAlbum")).toInteger();
}
