/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "photoapp/Importer.h"

#include "photoapp/AtomicFile.h"
#include "photoapp/ImageMetadata.h"
#include "photoapp/KeywordRules.h"
#include "photoapp/Log.h"
#include "photoapp/SourceFile.h"
#include "wire/PhotoAppWire.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <csignal>
#include <sys/stat.h>

namespace {

QString reason(const char* text) {
    return QString::fromLatin1(text);
}

// Logs why a file was not taken; answers the reason.
QString refuse(const QString& file, const char* why, const QString& detail = {}) {
    PhotoAppLog::line(QStringLiteral("refused %1: %2%3; left where it is")
                          .arg(PhotoAppLog::shortened(file), reason(why),
                               detail.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(detail)));
    return reason(why);
}

// File names in the roll folder: the source's own, then NAME-1.EXT, NAME-2.EXT...
std::function<QString(int)> namesFor(const QString& fileName) {
    const QFileInfo name(fileName);
    const QString base = name.completeBaseName();
    const QString suffix = name.suffix().isEmpty() ? QString() : QLatin1Char('.') + name.suffix();
    return [=](int n) {
        return n == 0 ? fileName : QStringLiteral("%1-%2%3").arg(base).arg(n).arg(suffix);
    };
}

qint64 modifiedMs(const QByteArray& path) {
    struct stat st = {};
    if (::stat(path.constData(), &st) != 0)
        return QDateTime::currentMSecsSinceEpoch();
    return qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000;
}

void logKeywordsLeftOut(const QString& file, const KeywordRules::Sorted& sorted) {
    if (sorted.beyondCap > 0)
        PhotoAppLog::line(QStringLiteral("%1: kept its first %2 keywords; %3 more were not taken")
                              .arg(PhotoAppLog::shortened(file))
                              .arg(KeywordRules::kMaxKeywordsPerPhoto)
                              .arg(sorted.beyondCap));
    // One line per reason, so a crafted file cannot flood the log.
    QHash<QString, int> byReason;
    for (const auto& [name, why] : sorted.refused)
        ++byReason[why];
    for (auto it = byReason.cbegin(); it != byReason.cend(); ++it)
        PhotoAppLog::line(QStringLiteral("%1: %2 keyword(s) not taken: %3")
                              .arg(PhotoAppLog::shortened(file))
                              .arg(it.value())
                              .arg(it.key()));
}

} // namespace

Importer::Importer(Catalogue& c) : catalogue(c) {}

Importer::Result Importer::importFiles(const ImportSources::Collected& sources, qint64 albumId,
                                       const std::function<bool()>& stop) {
    Result result;
    result.refused = sources.refused;
    for (const ImportRefusal& r : sources.refused)
        PhotoAppLog::line(
            QStringLiteral("refused %1: %2; left where it is").arg(PhotoAppLog::shortened(r.path), r.reason));
    for (const ImportSources::Source& source : sources.files) {
        if (stop && stop())
            break;
        qint64 id = 0;
        const QString why = importOne(source, albumId, &id, stop);
        if (why.isEmpty()) {
            result.imported.append(source.path);
            result.photoIds.append(id);
        } else if (!(stop && stop())) {
            result.refused.append({source.path, why});
        }
    }
    return result;
}

QString Importer::importOne(const ImportSources::Source& source, qint64 albumId, qint64* photoId,
                            const std::function<bool()>& stop) {
    const QFileInfo sourceName(source.path);
    const SourceFile::Content content =
        SourceFile::read(source.openPath, stop, [&sourceName](const QByteArray& head) {
            return ImageMetadataIo::mayBeImage(head, sourceName.suffix());
        });
    if (content.stopped)
        return reason(PhotoAppWire::kRefusedNotStored);
    if (!content.refusal.isEmpty()) {
        PhotoAppLog::line(QStringLiteral("refused %1: %2; left where it is")
                              .arg(PhotoAppLog::shortened(source.path), content.refusal));
        return content.refusal;
    }
    QString why;
    const std::optional<ImageMetadata> meta = ImageMetadataIo::read(content.bytes, sourceName.suffix(), &why);
    if (!meta)
        return refuse(source.path, PhotoAppWire::kRefusedNotAnImage, why);
    if (rollDir.isEmpty())
        rollDir = catalogue.library().importRollDir(catalogue.library().mastersDir(),
                                                    QDateTime::currentMSecsSinceEpoch());
    if (!QDir().mkpath(rollDir))
        return refuse(source.path, PhotoAppWire::kRefusedNotStored,
                      QStringLiteral("cannot create %1").arg(rollDir));
    AtomicFile copy(rollDir);
    QString noteFailure;
    const auto note = [this, &noteFailure](const QString& path) {
        if (catalogue.notePendingFile(path))
            return true;
        noteFailure = catalogue.lastError();
        return false;
    };
    const auto forget = [this](const QString& path) {
        catalogue.forgetPendingFile(path);
    };
    const QString target = copy.write(content.bytes, stop)
                               ? copy.publish(namesFor(sourceName.fileName()), note, forget)
                               : QString();
    if (target.isEmpty() && !noteFailure.isEmpty())
        return refuse(source.path, PhotoAppWire::kRefusedNotStored, noteFailure);
    if (target.isEmpty())
        return refuse(source.path,
                      copy.noRoom() ? PhotoAppWire::kRefusedDiskFull : PhotoAppWire::kRefusedNotStored,
                      QStringLiteral("cannot write it into %1: %2").arg(rollDir, copy.errorString()));

    if (catalogue.stopsBeforeRecord())
        ::raise(SIGSTOP);

    Catalogue::Photo photo;
    photo.imageFilename = QFileInfo(target).fileName();
    photo.imagePath = target;
    photo.originalPath = target;
    photo.dateMs = meta->exifDate ? meta->exifDate->toMSecsSinceEpoch() : modifiedMs(source.openPath);
    photo.width = meta->size.width();
    photo.height = meta->size.height();
    const KeywordRules::Sorted keywords = KeywordRules::sort(meta->keywords);
    logKeywordsLeftOut(source.path, keywords);
    if (!record(photo, albumId, keywords.kept, photoId)) {
        // The copy has no row: take it back out so it does not turn up as a stray file.
        if (QFile::remove(target))
            catalogue.forgetPendingFile(target);
        return refuse(source.path, PhotoAppWire::kRefusedNotStored, catalogue.lastError());
    }
    return {};
}

bool Importer::record(const Catalogue::Photo& photo, qint64 albumId, const QStringList& keywords,
                      qint64* photoId) {
    Catalogue::Transaction t(catalogue);
    catalogue.forgetPendingFile(photo.imagePath);
    const qint64 id = catalogue.addPhoto(photo);
    bool stored = id != 0 && catalogue.addToAlbum(catalogue.libraryAlbumId(), id);
    if (stored && albumId != catalogue.libraryAlbumId() && albumId != 0)
        stored = catalogue.addToAlbum(albumId, id);
    for (const QString& name : keywords) {
        if (!stored)
            break;
        const qint64 keywordId = catalogue.ensureKeyword(name);
        stored = keywordId != 0 && catalogue.assignKeyword(id, keywordId);
    }
    if (!stored || !t.commit())
        return false;
    *photoId = id;
    return true;
}
