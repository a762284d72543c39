/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "photoapp/PhotoEditor.h"

#include "photoapp/AtomicFile.h"
#include "wire/PhotoAppWire.h"

#include <QBuffer>
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
    QByteArray encoded;
    QBuffer buffer(&encoded);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "JPEG")) {
        *error = QStringLiteral("cannot encode the edited version of photo %1").arg(photoId);
        return {};
    }

    const LibraryPackage& library = catalogue.library();
    const QString dir = library.importRollDir(library.modifiedDir(), QDateTime::currentMSecsSinceEpoch());
    const QString base = QFileInfo(photo->originalPath).completeBaseName() + QLatin1StringView(kEditedSuffix);
    if (!QDir().mkpath(dir)) {
        *error = QStringLiteral("cannot create the folder %1").arg(dir);
        return {};
    }
    AtomicFile file(dir);
    const QString target = file.write(encoded) ? file.publish([&](int n) {
        return n == 0 ? base + QStringLiteral(".jpg") : QStringLiteral("%1-%2.jpg").arg(base).arg(n);
    })
                                               : QString();
    if (target.isEmpty()) {
        *error = QStringLiteral("cannot write the edited version of photo %1 into %2: %3")
                     .arg(photoId)
                     .arg(dir, file.noRoom() ? QString::fromLatin1(PhotoAppWire::kRefusedDiskFull)
                                             : file.errorString());
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
