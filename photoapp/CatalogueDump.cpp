/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "photoapp/CatalogueDump.h"

#include "wire/PhotoAppWire.h"

#include <QHash>
#include <QJsonArray>

namespace CatalogueDump {

QJsonObject dump(Catalogue& catalogue) {
    // Every table as of one moment, whatever an import commits meanwhile.
    const Catalogue::ReadSnapshot snapshot(catalogue);
    QHash<qint64, QJsonArray> keywordsOfPhoto;
    for (const auto& [photoId, name] : catalogue.allPhotoKeywords())
        keywordsOfPhoto[photoId].append(name);
    QHash<qint64, QJsonArray> albumsOfPhoto;
    QHash<qint64, QJsonArray> photosOfAlbum;
    for (const auto& [albumId, photoId] : catalogue.allMemberships()) {
        albumsOfPhoto[photoId].append(albumId);
        photosOfAlbum[albumId].append(photoId);
    }

    QJsonArray photos;
    for (const Catalogue::Photo& p : catalogue.allPhotos()) {
        QJsonObject o;
        o.insert(QLatin1StringView(PhotoAppWire::kId), p.id);
        o.insert(QLatin1StringView(PhotoAppWire::kImageFilename), p.imageFilename);
        o.insert(QLatin1StringView(PhotoAppWire::kImagePath), p.imagePath);
        o.insert(QLatin1StringView(PhotoAppWire::kOriginalPath), p.originalPath);
        o.insert(QLatin1StringView(PhotoAppWire::kDate), p.dateMs);
        o.insert(QLatin1StringView(PhotoAppWire::kWidth), p.width);
        o.insert(QLatin1StringView(PhotoAppWire::kHeight), p.height);
        o.insert(QLatin1StringView("keywords"), keywordsOfPhoto.value(p.id));
        o.insert(QLatin1StringView("albums"), albumsOfPhoto.value(p.id));
        photos.append(o);
    }

    QJsonArray albums;
    for (const Catalogue::Album& a : catalogue.albums()) {
        QJsonObject o;
        o.insert(QLatin1StringView("id"), a.id);
        o.insert(QLatin1StringView("name"), a.name);
        o.insert(QLatin1StringView("type"), static_cast<qint64>(a.type));
        o.insert(QLatin1StringView("photos"), photosOfAlbum.value(a.id));
        albums.append(o);
    }

    QJsonArray keywords;
    for (const Catalogue::Keyword& k : catalogue.keywords())
        keywords.append(k.name);

    QJsonArray selection;
    for (const Catalogue::SelectionItem& item : catalogue.selection()) {
        const bool album = item.kind == Catalogue::SelectionItem::Kind::Album;
        QJsonObject o;
        o.insert(QLatin1StringView("kind"), album ? QStringLiteral("album") : QStringLiteral("photo"));
        o.insert(QLatin1StringView("id"), item.id);
        o.insert(QLatin1StringView("path"),
                 album ? PhotoAppWire::albumPath(item.id) : PhotoAppWire::photoPath(item.id));
        selection.append(o);
    }

    QJsonObject root;
    root.insert(QLatin1StringView("library"), catalogue.library().root());
    root.insert(QLatin1StringView("photos"), photos);
    root.insert(QLatin1StringView("albums"), albums);
    root.insert(QLatin1StringView("keywords"), keywords);
    root.insert(QLatin1StringView("selection"), selection);
    root.insert(QLatin1StringView("libraryAlbum"), catalogue.libraryAlbumId());
    root.insert(QLatin1StringView("trashAlbum"), catalogue.trashAlbumId());
    return root;
}

} // namespace CatalogueDump
