#include "photoapp/ImageMetadata.h"

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

void appendOnce(QStringList& list, const QString& name) {
    if (!name.isEmpty() && !list.contains(name))
        list.append(name);
}

} // namespace

namespace ImageMetadataIo {

void initialize() {
    Exiv2::XmpParser::initialize();
    Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
}

std::optional<ImageMetadata> read(const QString& path, QString* why) {
    QImageReader reader(path);
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    if (!reader.canRead() || !size.isValid() || size.isEmpty()) {
        *why = reader.errorString();
        return std::nullopt;
    }
    // Decoding the whole stream catches truncated files; a scaled decode keeps that cheap for JPEGs.
    reader.setScaledSize(QSize(std::max(1, size.width() / 8), std::max(1, size.height() / 8)));
    if (reader.read().isNull()) {
        *why = reader.errorString();
        return std::nullopt;
    }

    ImageMetadata meta;
    meta.size = size;
    try {
        auto image = Exiv2::ImageFactory::open(std::string(QFile::encodeName(path).constData()));
        image->readMetadata();
        meta.exifDate = exifDateOf(image->exifData());
        const Exiv2::IptcData& iptc = image->iptcData();
        for (auto it = iptc.begin(); it != iptc.end(); ++it) {
            if (it->key() == kIptcKeywords)
                appendOnce(meta.keywords, fromStd(it->toString()));
        }
        const Exiv2::XmpData& xmp = image->xmpData();
        const auto subject = xmp.findKey(Exiv2::XmpKey(kXmpSubject));
        if (subject != xmp.end()) {
            for (long i = 0; i < subject->count(); ++i)
                appendOnce(meta.keywords, fromStd(subject->toString(i)));
        }
    } catch (const Exiv2::AnyError&) {
        // A readable image without readable metadata is still an image: size and file date do.
    }
    return meta;
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
