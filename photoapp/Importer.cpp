#include "photoapp/Importer.h"

#include "photoapp/ImageMetadata.h"
#include "photoapp/Log.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

Importer::Importer(Catalogue& c) : catalogue(c) {}

QStringList Importer::collectFiles(const QStringList& paths, QStringList* missing) {
    QStringList files;
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (info.isDir()) {
            QStringList found;
            QDirIterator it(info.absoluteFilePath(), QDir::Files | QDir::NoDotAndDotDot,
                            QDirIterator::Subdirectories);
            while (it.hasNext())
                found.append(it.next());
            found.sort();
            files += found;
        } else if (info.exists()) {
            files.append(info.absoluteFilePath());
        } else if (missing) {
            missing->append(path);
        }
    }
    return files;
}

Importer::Result Importer::importFiles(const QStringList& files, qint64 albumId,
                                       const std::function<bool()>& stop) {
    Result result;
    for (const QString& file : files) {
        if (stop && stop())
            break;
        qint64 id = 0;
        if (importOne(file, albumId, &id)) {
            ++result.imported;
            result.photoIds.append(id);
        } else {
            ++result.refused;
        }
    }
    return result;
}

QString Importer::uniqueTarget(const QString& dir, const QString& fileName) const {
    QString candidate = dir + QLatin1Char('/') + fileName;
    if (!QFileInfo::exists(candidate) && !QFileInfo(candidate).isSymLink())
        return candidate;
    const QFileInfo name(fileName);
    const QString base = name.completeBaseName();
    const QString suffix = name.suffix().isEmpty() ? QString() : QLatin1Char('.') + name.suffix();
    for (int n = 1;; ++n) {
        candidate = QStringLiteral("%1/%2-%3%4").arg(dir, base).arg(n).arg(suffix);
        if (!QFileInfo::exists(candidate) && !QFileInfo(candidate).isSymLink())
            return candidate;
    }
}

bool Importer::importOne(const QString& file, qint64 albumId, qint64* photoId) {
    QString why;
    const std::optional<ImageMetadata> meta = ImageMetadataIo::read(file, &why);
    if (!meta) {
        PhotoAppLog::line(
            QStringLiteral("refused %1: not a readable image (%2); left where it is").arg(file, why));
        return false;
    }
    if (rollDir.isEmpty())
        rollDir = catalogue.library().importRollDir(catalogue.library().mastersDir(),
                                                    QDateTime::currentMSecsSinceEpoch());
    if (!QDir().mkpath(rollDir)) {
        PhotoAppLog::line(QStringLiteral("cannot import %1: cannot create %2").arg(file, rollDir));
        return false;
    }
    const QFileInfo source(file);
    const QString target = uniqueTarget(rollDir, source.fileName());
    if (!QFile::copy(file, target)) {
        PhotoAppLog::line(QStringLiteral("cannot import %1: cannot copy it to %2").arg(file, target));
        return false;
    }

    Catalogue::Photo photo;
    photo.imageFilename = QFileInfo(target).fileName();
    photo.imagePath = target;
    photo.originalPath = target;
    photo.dateMs =
        meta->exifDate ? meta->exifDate->toMSecsSinceEpoch() : source.lastModified().toMSecsSinceEpoch();
    photo.width = meta->size.width();
    photo.height = meta->size.height();

    Catalogue::Transaction t(catalogue);
    const qint64 id = catalogue.addPhoto(photo);
    bool stored = id != 0 && catalogue.addToAlbum(catalogue.libraryAlbumId(), id);
    if (stored && albumId != catalogue.libraryAlbumId() && albumId != 0)
        stored = catalogue.addToAlbum(albumId, id);
    for (const QString& name : meta->keywords) {
        if (!stored)
            break;
        const qint64 keywordId = catalogue.ensureKeyword(name);
        stored = keywordId != 0 && catalogue.assignKeyword(id, keywordId);
    }
    if (!stored || !t.commit()) {
        // The copy has no row: take it back out so it does not turn up as a stray file.
        QFile::remove(target);
        PhotoAppLog::line(QStringLiteral("cannot import %1: %2").arg(file, catalogue.lastError()));
        return false;
    }
    *photoId = id;
    return true;
}
