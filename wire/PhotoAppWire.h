/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

// The wire contract between Vup's bridge and the photo application (photoapp): bus name,
// object paths and method names. Both sides include this header; see photoapp/DBUS.md.

#include <QString>

namespace PhotoAppWire {

inline constexpr const char* kService = "com.apple.iPhoto";
// The application is found by its bundle identifier, which is the name it owns on the bus.
inline constexpr const char* kBundleIdentifier = kService;

inline constexpr const char* kApplicationPath = "/application";
inline constexpr const char* kAlbumPathPrefix = "/albums/";     // + decimal id
inline constexpr const char* kPhotoPathPrefix = "/photos/";     // + decimal id
inline constexpr const char* kKeywordPathPrefix = "/keywords/"; // + decimal id
inline constexpr const char* kControlPath = "/control";

inline constexpr const char* kApplicationInterface = "com.apple.iPhoto.Application";
inline constexpr const char* kAlbumInterface = "com.apple.iPhoto.Album";
inline constexpr const char* kPhotoInterface = "com.apple.iPhoto.Photo";
inline constexpr const char* kKeywordInterface = "com.apple.iPhoto.Keyword";
inline constexpr const char* kControlInterface = "com.apple.iPhoto.Control";

// Property dictionary keys.
inline constexpr const char* kImageFilename = "imageFilename";
inline constexpr const char* kImagePath = "imagePath";
inline constexpr const char* kOriginalPath = "originalPath";
inline constexpr const char* kDate = "date"; // int64 milliseconds since the epoch on the wire
inline constexpr const char* kId = "id";     // int64
inline constexpr const char* kHeight = "height";
inline constexpr const char* kWidth = "width";

// Four-character album types.
inline constexpr quint32 kAlbumTypePlain = 0x616C626D;   // 'albm'
inline constexpr quint32 kAlbumTypeLibrary = 0x706C6962; // 'plib'
inline constexpr quint32 kAlbumTypeTrash = 0x74727368;   // 'trsh'
inline constexpr quint32 kAlbumTypeSmart = 0x736D7274;   // 'smrt'

// Error names photoapp answers with.
inline constexpr const char* kErrorNoSuchObject = "com.apple.iPhoto.Error.NoSuchObject";
inline constexpr const char* kErrorFailed = "com.apple.iPhoto.Error.Failed";

// What an import tells its caller: the signal sent when an import has handled its last file, and
// the reason given for each file it refused.
inline constexpr const char* kImportFinishedSignal = "ImportFinished";
inline constexpr const char* kRefusedNotFound = "not found";
inline constexpr const char* kRefusedNotReadable = "not readable";
inline constexpr const char* kRefusedNotRegularFile = "not a regular file";
inline constexpr const char* kRefusedNameNotUtf8 = "name not valid UTF-8";
inline constexpr const char* kRefusedLinkOutOfFolder = "a link out of the folder";
inline constexpr const char* kRefusedTooLarge = "too large";
inline constexpr const char* kRefusedNotAnImage = "not an image";
inline constexpr const char* kRefusedDiskFull = "disk full";
inline constexpr const char* kRefusedNotStored = "cannot be stored";

inline QString albumPath(qint64 id) {
    return QString::fromLatin1(kAlbumPathPrefix) + QString::number(id);
}
inline QString photoPath(qint64 id) {
    return QString::fromLatin1(kPhotoPathPrefix) + QString::number(id);
}
inline QString keywordPath(qint64 id) {
    return QString::fromLatin1(kKeywordPathPrefix) + QString::number(id);
}

} // namespace PhotoAppWire
