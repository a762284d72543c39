#include "photoapp/PhotoEditor.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImage>

namespace {
constexpr auto kEditedSuffix = "_edited";
}

namespace PhotoEditor {

QString makeEditedVersion(Catalogue& catalogue, qint64 photoId, QString* error) {
    const std::optional<Catalogue::Photo> photo = catalogue.photo(photoId);
    if (!photo) {
        *error = QStringLiteral("no photo with id %1").arg(photoId);
        return {};
    }
    QImage image(photo->originalPath);
    if (image.isNull()) {
        *error =
            QStringLiteral("cannot read the master %1 of photo %2").arg(photo->originalPath).arg(photoId);
        return {};
    }
    image.invertPixels();

    const LibraryPackage& library = catalogue.library();
    const QString dir = library.importRollDir(library.modifiedDir(), QDateTime::currentMSecsSinceEpoch());
    const QFileInfo master(photo->originalPath);
    QString target =
        QStringLiteral("%1/%2%3.jpg").arg(dir, master.completeBaseName(), QLatin1StringView(kEditedSuffix));
    for (int n = 1; QFileInfo::exists(target); ++n)
        target = QStringLiteral("%1/%2%3-%4.jpg")
                     .arg(dir, master.completeBaseName(), QLatin1StringView(kEditedSuffix))
                     .arg(n);
    if (!QDir().mkpath(dir) || !image.save(target, "JPEG")) {
        *error = QStringLiteral("cannot write the edited version %1").arg(target);
        return {};
    }
    if (!catalogue.setImagePath(photoId, target)) {
        QFile::remove(target);
        *error = QStringLiteral("cannot record the edited version: %1").arg(catalogue.lastError());
        return {};
    }
    return target;
}

} // namespace PhotoEditor
