/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "tests/photoapp/IptcKeywords.h"

#include <QFile>

// exiv2 0.27 hands out std::auto_ptr.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>

namespace IptcKeywords {

bool write(const QString& jpegPath, const QList<QByteArray>& keywords, QString* error) {
    try {
        auto image = Exiv2::ImageFactory::open(std::string(QFile::encodeName(jpegPath).constData()));
        image->readMetadata();
        Exiv2::IptcData iptc;
        const Exiv2::IptcKey key("Iptc.Application2.Keywords");
        for (const QByteArray& k : keywords) {
            Exiv2::StringValue value(std::string(k.constData(), static_cast<size_t>(k.size())));
            iptc.add(key, &value);
        }
        image->setIptcData(iptc);
        image->writeMetadata();
        return true;
    } catch (const Exiv2::AnyError& e) {
        *error = QString::fromStdString(e.what());
        return false;
    }
}

} // namespace IptcKeywords

#pragma GCC diagnostic pop
