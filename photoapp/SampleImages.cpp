/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "photoapp/SampleImages.h"

#include "photoapp/ImageMetadata.h"

#include <QColor>
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QSaveFile>
#include <QTemporaryDir>

namespace {

constexpr int kWidth = 64;
constexpr int kHeight = 48;

QImage picture(int variant) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    const int hue = (variant * 47) % 360;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const int h = (hue + x * 2) % 360;
            const int v = 120 + (y * 120) / kHeight;
            image.setPixel(x, y, QColor::fromHsv(h, 180, v).rgb());
        }
    }
    return image;
}

} // namespace

namespace SampleImages {

bool writeJpeg(const QString& path, int variant, const QDateTime& date, const QStringList& keywords,
               QString* error) {
    if (!picture(variant).save(path, "JPEG", 90)) {
        *error = QCoreApplication::translate("SampleImages", "cannot write %1").arg(path);
        return false;
    }
    return ImageMetadataIo::write(path, date, keywords, error);
}

QByteArray jpeg(int variant, const QDateTime& date, const QStringList& keywords, QString* error) {
    QTemporaryDir dir;
    if (!dir.isValid()) {
        *error = QCoreApplication::translate("SampleImages", "cannot make a temporary folder: %1")
                     .arg(dir.errorString());
        return {};
    }
    const QString path = dir.filePath(QStringLiteral("sample.jpg"));
    if (!writeJpeg(path, variant, date, keywords, error))
        return {};
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        *error = QCoreApplication::translate("SampleImages", "cannot read back %1").arg(path);
        return {};
    }
    return f.readAll();
}

} // namespace SampleImages
