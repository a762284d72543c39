/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QStringList>

// Small real JPEGs made from scratch: the demo library's photos and the keyword image.
namespace SampleImages {

// A 64x48 JPEG whose colours depend on `variant`, carrying `date` as its EXIF date and the given
// keywords as IPTC Keywords and XMP dc:subject. Empty (with the reason) on failure.
QByteArray jpeg(int variant, const QDateTime& date, const QStringList& keywords, QString* error);

// Writes such a JPEG to a file.
bool writeJpeg(const QString& path, int variant, const QDateTime& date, const QStringList& keywords,
               QString* error);

} // namespace SampleImages
