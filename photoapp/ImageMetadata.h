/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QDateTime>
#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>

// What the importer learns from an image file: its pixel size (Qt's image readers), its capture
// date and its keywords (EXIF, IPTC and XMP through exiv2).
struct ImageMetadata {
    QSize size;
    std::optional<QDateTime> exifDate;
    QStringList keywords; // IPTC Keywords then XMP dc:subject, as found (see KeywordRules)
};

namespace ImageMetadataIo {

// Call once before any thread reads or writes metadata: exiv2's XMP parser is not thread-safe to
// set up lazily.
void initialize();

// Reads a file's bytes as an image, decoding it whole; nothing (and the reason) when they are not
// a whole, readable image. `suffix` is the file name's, a hint for formats without a signature.
std::optional<ImageMetadata> read(const QByteArray& bytes, const QString& suffix, QString* why);

// Whether a file's first bytes could begin an image, by its signature (or `suffix`, for formats
// without one): a file that cannot is refused before the rest of it is read.
bool mayBeImage(const QByteArray& head, const QString& suffix);

// The thumbnail a camera or editor embedded in the file's EXIF data, still encoded; empty when
// there is none or it cannot be read. Reads the file's metadata only, not its picture.
QByteArray embeddedThumbnail(const QString& path);

// Writes the EXIF date and, when given, the keywords as IPTC Keywords and XMP dc:subject.
bool write(const QString& path, const QDateTime& date, const QStringList& keywords, QString* error);

} // namespace ImageMetadataIo
