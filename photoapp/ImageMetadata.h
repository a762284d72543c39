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
    QStringList keywords; // IPTC Keywords then XMP dc:subject, each name once, in that order
};

namespace ImageMetadataIo {

// Call once before any thread reads or writes metadata: exiv2's XMP parser is not thread-safe to
// set up lazily.
void initialize();

// Reads a file as an image; nothing (and the reason) when it is not a readable image.
std::optional<ImageMetadata> read(const QString& path, QString* why);

// Writes the EXIF date and, when given, the keywords as IPTC Keywords and XMP dc:subject.
bool write(const QString& path, const QDateTime& date, const QStringList& keywords, QString* error);

} // namespace ImageMetadataIo
