/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "photoapp/DemoLibrary.h"

#include "photoapp/Catalogue.h"
#include "photoapp/DistinctJpegs.h"
#include "photoapp/SampleImages.h"
#include "wire/PhotoAppWire.h"

#include <QCoreApplication>
#include <QDir>
#include <QList>
#include <QSet>

namespace {

constexpr int kTemplates = 8;
constexpr int kPhotosPerRoll = 500;
constexpr auto kDemoAlbumName = "Demo Album";
constexpr int kDemoAlbumSize = 10;

// Indices of `count` photos out of `total`, spread evenly and all different.
QList<int> spread(int count, int total) {
    QList<int> result;
    for (int j = 0; j < count; ++j)
        result.append(static_cast<int>((2LL * j + 1) * total / (2LL * count)));
    return result;
}

} // namespace

namespace DemoLibrary {

bool generate(const QString& libraryPath, const Options& o, Summary* summary, QString* error) {
    if (o.photos < 0 || o.missingImages < 0 || o.missingMasters < 0 || o.zombies < 0) {
        *error = QCoreApplication::translate("DemoLibrary", "counts must not be negative");
        return false;
    }
    if (o.missingImages + o.missingMasters > o.photos) {
        *error = QCoreApplication::translate(
                     "DemoLibrary", "%1 missing images and %2 missing masters do not fit in %3 photos")
                     .arg(o.missingImages)
                     .arg(o.missingMasters)
                     .arg(o.photos);
        return false;
    }
    const LibraryPackage library(libraryPath);
    if (!library.createFolders(error))
        return false;
    std::unique_ptr<Catalogue> catalogue = Catalogue::create(library, error);
    if (!catalogue)
        return false;

    const QDateTime base(QDate(2024, 5, 1), QTime(9, 0), Qt::UTC);
    QList<DistinctJpegs::Template> masters;
    QList<DistinctJpegs::Template> edits;
    for (int v = 0; v < kTemplates; ++v) {
        const QByteArray master = SampleImages::jpeg(v, base.addDays(v), {}, error);
        const QByteArray edit = SampleImages::jpeg(v + kTemplates, base.addDays(v), {}, error);
        if (master.isEmpty() || edit.isEmpty())
            return false;
        masters.append(DistinctJpegs::Template(master));
        edits.append(DistinctJpegs::Template(edit));
    }

    const QList<int> troubled = spread(o.missingImages + o.missingMasters, o.photos);
    const QSet<int> missingImage(troubled.cbegin(), troubled.cbegin() + o.missingImages);
    const QSet<int> missingMaster(troubled.cbegin() + o.missingImages, troubled.cend());
    const int digits = std::max(4, static_cast<int>(QString::number(o.photos).size()));
    const int rolls = std::max(1, (o.photos + kPhotosPerRoll - 1) / kPhotosPerRoll);
    auto rollDir = [&](const QString& top, int roll) {
        return library.importRollDir(top, base.addDays(roll).toMSecsSinceEpoch());
    };
    auto makeDir = [&](const QString& dir) {
        if (QDir().mkpath(dir))
            return true;
        *error = QCoreApplication::translate("DemoLibrary", "cannot create %1").arg(dir);
        return false;
    };

    // Creating the files is most of the work; other threads do it while this one fills the catalogue.
    DistinctJpegs::Writer files;
    QList<DistinctJpegs::File> batch;
    Catalogue::Transaction t(*catalogue);
    const qint64 demoAlbum =
        catalogue->createAlbum(QString::fromLatin1(kDemoAlbumName), PhotoAppWire::kAlbumTypePlain);
    QString masterDir;
    QString editDir;
    for (int i = 0; i < o.photos; ++i) {
        const int roll = i / kPhotosPerRoll;
        if (i % kPhotosPerRoll == 0) {
            files.write(std::exchange(batch, {}));
            masterDir = rollDir(library.mastersDir(), roll);
            editDir = rollDir(library.modifiedDir(), roll);
            if (!makeDir(masterDir))
                return false;
        }
        Catalogue::Photo p;
        p.imageFilename = QStringLiteral("IMG_%1.jpg").arg(i + 1, digits, 10, QLatin1Char('0'));
        p.originalPath = masterDir + QLatin1Char('/') + p.imageFilename;
        p.imagePath = p.originalPath;
        p.dateMs = base.addDays(roll).addSecs(60LL * (i % kPhotosPerRoll)).toMSecsSinceEpoch();
        p.width = 64;
        p.height = 48;
        if (missingMaster.contains(i)) {
            // An edited photo: the edited image stays, its master is never written.
            p.imagePath =
                editDir + QStringLiteral("/IMG_%1_edited.jpg").arg(i + 1, digits, 10, QLatin1Char('0'));
            if (!makeDir(editDir))
                return false;
            batch.append({p.imagePath, &edits.at(i % kTemplates), i + 1});
        } else if (!missingImage.contains(i)) {
            batch.append({p.originalPath, &masters.at(i % kTemplates), i + 1});
        }
        const qint64 id = catalogue->addPhoto(p);
        if (id == 0 || !catalogue->addToAlbum(catalogue->libraryAlbumId(), id) ||
            (i < kDemoAlbumSize && !catalogue->addToAlbum(demoAlbum, id))) {
            *error = QCoreApplication::translate("DemoLibrary", "cannot record photo %1: %2")
                         .arg(i + 1)
                         .arg(catalogue->lastError());
            return false;
        }
    }
    for (int z = 0; z < o.zombies; ++z) {
        const QString dir = rollDir(library.mastersDir(), z % rolls);
        if (!makeDir(dir))
            return false;
        // Numbered after the photos, so that no zombie has the bytes of a photo.
        batch.append({dir + QStringLiteral("/Zombie_%1.jpg").arg(z + 1, 4, 10, QLatin1Char('0')),
                      &masters.at(z % kTemplates), o.photos + z + 1});
    }
    files.write(std::move(batch));
    if (!files.finish(error))
        return false;
    if (!t.commit()) {
        *error = QCoreApplication::translate("DemoLibrary", "cannot write the catalogue: %1")
                     .arg(catalogue->lastError());
        return false;
    }
    *summary = Summary{o.photos, o.missingImages, o.missingMasters, o.zombies};
    return true;
}

} // namespace DemoLibrary
