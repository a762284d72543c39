#include "photoapp/DemoLibrary.h"

#include "bridge/PhotoAppWire.h"
#include "photoapp/Catalogue.h"
#include "photoapp/SampleImages.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QSet>

namespace {

constexpr int kTemplates = 8;
constexpr int kPhotosPerRoll = 500;
constexpr auto kDemoAlbumName = "Demo Album";
constexpr int kDemoAlbumSize = 10;

bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::NewOnly) && f.write(bytes) == bytes.size();
}

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
        *error = QStringLiteral("counts must not be negative");
        return false;
    }
    if (o.missingImages + o.missingMasters > o.photos) {
        *error = QStringLiteral("%1 missing images and %2 missing masters do not fit in %3 photos")
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
    QList<QByteArray> masters;
    QList<QByteArray> edits;
    for (int v = 0; v < kTemplates; ++v) {
        masters.append(SampleImages::jpeg(v, base.addDays(v), {}, error));
        edits.append(SampleImages::jpeg(v + kTemplates, base.addDays(v), {}, error));
        if (masters.constLast().isEmpty() || edits.constLast().isEmpty())
            return false;
    }

    const QList<int> troubled = spread(o.missingImages + o.missingMasters, o.photos);
    const QSet<int> missingImage(troubled.cbegin(), troubled.cbegin() + o.missingImages);
    const QSet<int> missingMaster(troubled.cbegin() + o.missingImages, troubled.cend());
    const int digits = std::max(4, static_cast<int>(QString::number(o.photos).size()));
    const int rolls = std::max(1, (o.photos + kPhotosPerRoll - 1) / kPhotosPerRoll);
    auto rollDir = [&](const QString& top, int roll) {
        return library.importRollDir(top, base.addDays(roll).toMSecsSinceEpoch());
    };

    Catalogue::Transaction t(*catalogue);
    const qint64 demoAlbum =
        catalogue->createAlbum(QString::fromLatin1(kDemoAlbumName), PhotoAppWire::kAlbumTypePlain);
    for (int i = 0; i < o.photos; ++i) {
        const int roll = i / kPhotosPerRoll;
        const QString masterDir = rollDir(library.mastersDir(), roll);
        if (i % kPhotosPerRoll == 0 && !QDir().mkpath(masterDir)) {
            *error = QStringLiteral("cannot create %1").arg(masterDir);
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
            const QString editDir = rollDir(library.modifiedDir(), roll);
            p.imagePath =
                editDir + QStringLiteral("/IMG_%1_edited.jpg").arg(i + 1, digits, 10, QLatin1Char('0'));
            if (!QDir().mkpath(editDir) || !writeBytes(p.imagePath, edits.at(i % kTemplates))) {
                *error = QStringLiteral("cannot write %1").arg(p.imagePath);
                return false;
            }
        } else if (!missingImage.contains(i) && !writeBytes(p.originalPath, masters.at(i % kTemplates))) {
            *error = QStringLiteral("cannot write %1").arg(p.originalPath);
            return false;
        }
        const qint64 id = catalogue->addPhoto(p);
        if (id == 0 || !catalogue->addToAlbum(catalogue->libraryAlbumId(), id) ||
            (i < kDemoAlbumSize && !catalogue->addToAlbum(demoAlbum, id))) {
            *error = QStringLiteral("cannot record photo %1: %2").arg(i + 1).arg(catalogue->lastError());
            return false;
        }
    }
    for (int z = 0; z < o.zombies; ++z) {
        const QString dir = rollDir(library.mastersDir(), z % rolls);
        const QString path = dir + QStringLiteral("/Zombie_%1.jpg").arg(z + 1, 4, 10, QLatin1Char('0'));
        if (!QDir().mkpath(dir) || !writeBytes(path, masters.at(z % kTemplates))) {
            *error = QStringLiteral("cannot write %1").arg(path);
            return false;
        }
    }
    if (!t.commit()) {
        *error = QStringLiteral("cannot write the catalogue: %1").arg(catalogue->lastError());
        return false;
    }
    *summary = Summary{o.photos, o.missingImages, o.missingMasters, o.zombies};
    return true;
}

} // namespace DemoLibrary
