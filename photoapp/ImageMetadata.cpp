/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "photoapp/ImageMetadata.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>

// exiv2 0.27 hands out std::auto_ptr; this file is the only one that includes it.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>

namespace {

constexpr auto kExifDateOriginal = "Exif.Photo.DateTimeOriginal";
constexpr auto kExifDateDigitized = "Exif.Photo.DateTimeDigitized";
constexpr auto kExifDate = "Exif.Image.DateTime";
constexpr auto kIptcKeywords = "Iptc.Application2.Keywords";
constexpr auto kIptcCharacterSet = "Iptc.Envelope.CharacterSet";
constexpr auto kIptcUtf8 = "\x1b%G"; // ISO 2022 escape for UTF-8
constexpr auto kXmpSubject = "Xmp.dc.subject";
constexpr auto kExifDateFormat = "yyyy:MM:dd HH:mm:ss";

QString fromStd(const std::string& s) {
    return QString::fromStdString(s).trimmed();
}

std::string toStd(const QString& s) {
    return s.toStdString();
}

std::optional<QDateTime> exifDateOf(const Exiv2::ExifData& exif) {
    for (const char* key : {kExifDateOriginal, kExifDateDigitized, kExifDate}) {
        const auto it = exif.findKey(Exiv2::ExifKey(key));
        if (it == exif.end())
            continue;
        const QDateTime date =
            QDateTime::fromString(fromStd(it->toString()), QString::fromLatin1(kExifDateFormat));
        if (date.isValid())
            return date;
    }
    return std::nullopt;
}

// Whether a JPEG stream reaches its end-of-image marker. Qt's decoder fills a cut stream with grey
// and calls it an image; the marker cannot occur inside the scan data, whose 0xFF bytes are
// stuffed, so finding it after the first start-of-scan tells a whole stream from a cut one.
bool jpegIsWhole(const QByteArray& bytes) {
    const auto at = [&](qsizetype i) {
        return static_cast<unsigned char>(bytes.at(i));
    };
    if (bytes.size() < 4 || at(0) != 0xFF || at(1) != 0xD8)
        return false;
    qsizetype pos = 2;
    while (pos + 4 <= bytes.size()) {
        if (at(pos) != 0xFF)
            return false;
        const unsigned char marker = at(pos + 1);
        if (marker == 0xFF) { // fill byte
            ++pos;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) { // no length follows
            pos += 2;
            continue;
        }
        const qsizetype length = (qsizetype(at(pos + 2)) << 8) | at(pos + 3);
        if (marker == 0xDA)
            return bytes.indexOf(QByteArrayView("\xFF\xD9"), pos + 2 + length) >= 0;
        pos += 2 + length;
    }
    return false;
}

} // namespace

namespace ImageMetadataIo {

void initialize() {
    Exiv2::XmpParser::initialize();
    Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
}

bool mayBeImage(const QByteArray& head, const QString& suffix) {
    QBuffer buffer;
    buffer.setData(head);
    buffer.open(QIODevice::ReadOnly);
    return QImageReader(&buffer, suffix.toLower().toLatin1()).canRead();
}

std::optional<ImageMetadata> read(const QByteArray& bytes, const QString& suffix, QString* why) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    // The suffix is a hint for formats without a signature; the content decides for the others.
    QImageReader reader(&buffer, suffix.toLower().toLatin1());
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    if (!reader.canRead() || !size.isValid() || size.isEmpty()) {
        *why = reader.errorString();
        return std::nullopt;
    }
    // Decoding the whole stream catches damaged files; a scaled decode keeps that cheap for JPEGs.
    reader.setScaledSize(QSize(std::max(1, size.width() / 8), std::max(1, size.height() / 8)));
    if (reader.read().isNull()) {
        *why = reader.errorString();
        return std::nullopt;
    }
    if (bytes.startsWith("\xFF\xD8") && !jpegIsWhole(bytes)) {
        *why = QStringLiteral("the JPEG stream is cut short");
        return std::nullopt;
    }

    ImageMetadata meta;
    meta.size = size;
    try {
        auto image =
            Exiv2::ImageFactory::open(reinterpret_cast<const Exiv2::byte*>(bytes.constData()), bytes.size());
        image->readMetadata();
        meta.exifDate = exifDateOf(image->exifData());
        const Exiv2::IptcData& iptc = image->iptcData();
        for (auto it = iptc.begin(); it != iptc.end(); ++it) {
            if (it->key() == kIptcKeywords)
                meta.keywords.append(fromStd(it->toString()));
        }
        const Exiv2::XmpData& xmp = image->xmpData();
        const auto subject = xmp.findKey(Exiv2::XmpKey(kXmpSubject));
        if (subject != xmp.end()) {
            for (long i = 0; i < subject->count(); ++i)
                meta.keywords.append(fromStd(subject->toString(i)));
        }
    } catch (const Exiv2::AnyError&) {
        // A readable image without readable metadata is still an image: size and file date do.
    }
    return meta;
}

QByteArray embeddedThumbnail(const QString& path) {
    try {
        auto image = Exiv2::ImageFactory::open(std::string(QFile::encodeName(path).constData()));
        image->readMetadata();
        const Exiv2::DataBuf thumbnail = Exiv2::ExifThumbC(image->exifData()).copy();
        return QByteArray(reinterpret_cast<const char*>(thumbnail.pData_), thumbnail.size_);
    } catch (const Exiv2::AnyError&) {
        return {};
    }
}

bool write(const QString& path, const QDateTime& date, const QStringList& keywords, QString* error) {
    try {
        auto image = Exiv2::ImageFactory::open(std::string(QFile::encodeName(path).constData()));
        image->readMetadata();
        Exiv2::ExifData& exif = image->exifData();
        const std::string stamp = toStd(date.toString(QString::fromLatin1(kExifDateFormat)));
        exif[kExifDateOriginal] = stamp;
        exif[kExifDate] = stamp;
        if (!keywords.isEmpty()) {
            Exiv2::IptcData& iptc = image->iptcData();
            Exiv2::XmpData& xmp = image->xmpData();
            iptc[kIptcCharacterSet] = std::string(kIptcUtf8);
            auto bag = Exiv2::Value::create(Exiv2::xmpBag);
            for (const QString& k : keywords) {
                Exiv2::StringValue value(toStd(k));
                iptc.add(Exiv2::IptcKey(kIptcKeywords), &value);
                bag->read(toStd(k));
            }
            xmp.add(Exiv2::XmpKey(kXmpSubject), bag.get());
        }
        image->writeMetadata();
        return true;
    } catch (const Exiv2::AnyError& e) {
        *error = QString::fromStdString(e.what());
        return false;
    }
}

} // namespace ImageMetadataIo

#pragma GCC diagnostic pop
