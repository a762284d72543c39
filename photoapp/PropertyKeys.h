/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "wire/PhotoAppWire.h"

#include <QString>

// The keys of a photo's property answer. A fault injected for any other name would silently change
// nothing, so the faces that inject faults accept only these.
namespace PropertyKeys {

inline bool isKnown(const QString& key) {
    for (const char* k :
         {PhotoAppWire::kImageFilename, PhotoAppWire::kImagePath, PhotoAppWire::kOriginalPath,
          PhotoAppWire::kDate, PhotoAppWire::kId, PhotoAppWire::kHeight, PhotoAppWire::kWidth}) {
        if (key == QLatin1StringView(k))
            return true;
    }
    return false;
}

inline QString list() {
    return QStringLiteral("%1, %2, %3, %4, %5, %6, %7")
        .arg(QLatin1StringView(PhotoAppWire::kImageFilename), QLatin1StringView(PhotoAppWire::kImagePath),
             QLatin1StringView(PhotoAppWire::kOriginalPath), QLatin1StringView(PhotoAppWire::kDate),
             QLatin1StringView(PhotoAppWire::kId), QLatin1StringView(PhotoAppWire::kHeight),
             QLatin1StringView(PhotoAppWire::kWidth));
}

} // namespace PropertyKeys
