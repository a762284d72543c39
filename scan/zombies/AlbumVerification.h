/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QByteArray>
#include <QList>
#include <QSet>
#include <chrono>
#include <functional>

class iPhotoAlbum;
class iPhotoApplication;

// Whether the photo application really took a parked zombie: only a photo whose file holds the
// zombie's very bytes says so. Name and size alone are not enough: of two same-named, same-sized
// zombies the application may take one and refuse the other, and the refused one would then be
// deleted on the strength of its twin's photo.
namespace AlbumVerification {

struct Parked {
    QByteArray originalName; // the zombie's own file name
    QByteArray path;         // where it is parked
};

struct Result {
    QList<qint64> vouchers;   // per parked file: the photo holding its bytes, 0 when none does
    QList<QByteArray> copies; // per parked file: that photo's file, empty when none does
    bool answered = true;     // false when a request failed: a file without a voucher may still have arrived
};

// Each photo of the album not in `notToClaim` vouches for one parked file at most, a file of its
// name first (the application renames a file whose name is taken in its import folder, so a
// photo of another name may vouch too). A photo whose file is the parked file itself, taken where
// it lay instead of copied, vouches for nothing: deleting the parked file would delete its only copy.
Result verify(const iPhotoAlbum& album, const QSet<qint64>& notToClaim, const QList<Parked>& parked);

enum class ImportWait { Ended, ApplicationGone, Cancelled };

// Waits while the application imports, or until `cancelled` answers true.
ImportWait waitWhileImporting(const iPhotoApplication& application, const std::function<bool()>& cancelled,
                              std::chrono::milliseconds poll);

} // namespace AlbumVerification
