/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "photoapp/window/PhotoGridModel.h"

#include <QCoreApplication>
#include <QFont>
#include <QPainter>
#include <QScopedValueRollback>

namespace {

// Past this many changed photos at once, one signal for every row costs less than one a photo.
constexpr qsizetype kMostRowSignals = 200;

constexpr const char* kMissingText = QT_TRANSLATE_NOOP("PhotoGridModel", "Image missing");
constexpr const char* kUnreadableText = QT_TRANSLATE_NOOP("PhotoGridModel", "Cannot be shown");

QImage drawPlaceholder(ThumbnailLoader::State state) {
    constexpr int kWidth = ThumbnailLoader::kSize;
    constexpr int kHeight = ThumbnailLoader::kSize * 3 / 4;
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF frame(1.5, 1.5, kWidth - 3, kHeight - 3);
    if (state == ThumbnailLoader::State::Loading) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xe4, 0xe4, 0xe4));
        p.drawRoundedRect(frame, 4, 4);
        return image;
    }
    const bool missing = state == ThumbnailLoader::State::Missing;
    p.setBrush(QColor(0xf4, 0xf1, 0xee));
    p.setPen(QPen(missing ? QColor(0xc0, 0x39, 0x2b) : QColor(0x88, 0x88, 0x88), 2, Qt::DashLine));
    p.drawRoundedRect(frame, 4, 4);
    // A picture frame with a mountain, crossed out when the file is gone.
    const QRectF picture(kWidth / 2.0 - 18, 14, 36, 28);
    p.setPen(QPen(QColor(0x77, 0x77, 0x77), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(picture);
    p.drawPolyline(QPolygonF({picture.bottomLeft() + QPointF(4, -4), picture.center() + QPointF(-2, 2),
                              picture.center() + QPointF(4, 6), picture.bottomRight() + QPointF(-4, -12)}));
    if (missing) {
        p.setPen(QPen(QColor(0xc0, 0x39, 0x2b), 3));
        p.drawLine(picture.topLeft() + QPointF(-6, -4), picture.bottomRight() + QPointF(6, 4));
    }
    QFont font = p.font();
    font.setPixelSize(12);
    font.setBold(true);
    p.setFont(font);
    p.setPen(missing ? QColor(0xa0, 0x20, 0x10) : QColor(0x55, 0x55, 0x55));
    p.drawText(QRectF(0, picture.bottom() + 6, kWidth, kHeight - picture.bottom() - 8),
               Qt::AlignCenter | Qt::TextWordWrap,
               QCoreApplication::translate("PhotoGridModel", missing ? kMissingText : kUnreadableText));
    return image;
}

} // namespace

PhotoGridModel::PhotoGridModel(LibraryMirror& m, ThumbnailLoader& t, QObject* parent)
    : QAbstractListModel(parent), mirror(m), thumbnails(t) {
    connect(&mirror, &LibraryMirror::reloaded, this, [this] { showAlbum(shown); });
    connect(&mirror, &LibraryMirror::membershipsChanged, this, &PhotoGridModel::applyMemberships);
    connect(&mirror, &LibraryMirror::photosChanged, this, &PhotoGridModel::photosChanged);
    connect(&mirror, &LibraryMirror::keywordsChanged, this, [this] {
        if (!needle.isEmpty()) {
            matchingKeywords = mirror.keywordsContaining(needle);
            refilter();
        }
        // A keyword renamed to one Vup flags with, or away from it, changes the badges.
        if (!rows.isEmpty())
            emit dataChanged(index(0), index(int(rows.size()) - 1), {FlaggedRole, Qt::ToolTipRole});
    });
    connect(&thumbnails, &ThumbnailLoader::ready, this, &PhotoGridModel::thumbnailReady);
}

QImage PhotoGridModel::placeholder(ThumbnailLoader::State state) {
    static const QImage loading = drawPlaceholder(ThumbnailLoader::State::Loading);
    static const QImage missing = drawPlaceholder(ThumbnailLoader::State::Missing);
    static const QImage unreadable = drawPlaceholder(ThumbnailLoader::State::Unreadable);
    switch (state) {
    case ThumbnailLoader::State::Missing:
        return missing;
    case ThumbnailLoader::State::Unreadable:
        return unreadable;
    default:
        return loading;
    }
}

void PhotoGridModel::showAlbum(qint64 albumId) {
    const QScopedValueRollback busy(rearranging, rearranging + 1);
    beginResetModel();
    shown = albumId;
    albumIds = mirror.albumPhotoIds(albumId);
    albumSet = QSet<qint64>(albumIds.cbegin(), albumIds.cend());
    rows = wantedRows();
    rowIndex.clear();
    endResetModel();
    emit albumChanged();
}

void PhotoGridModel::setFilter(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed == needle)
        return;
    needle = trimmed;
    matchingKeywords = needle.isEmpty() ? QSet<qint64>() : mirror.keywordsContaining(needle);
    refilter();
    emit filterChanged();
}

bool PhotoGridModel::passes(qint64 photoId) const {
    if (needle.isEmpty())
        return true;
    const LibraryMirror::Photo* p = mirror.photo(photoId);
    if (!p)
        return false;
    if (p->fileName.contains(needle, Qt::CaseInsensitive))
        return true;
    for (const qint64 k : p->keywordIds) {
        if (matchingKeywords.contains(k))
            return true;
    }
    return false;
}

QList<qint64> PhotoGridModel::wantedRows() const {
    if (needle.isEmpty())
        return albumIds;
    QList<qint64> wanted;
    for (const qint64 id : albumIds) {
        if (passes(id))
            wanted.append(id);
    }
    return wanted;
}

void PhotoGridModel::refilter() {
    QList<qint64> wanted = wantedRows();
    // Not QList's ==, which hands memcmp a null pointer for some empty lists.
    if (std::equal(wanted.cbegin(), wanted.cend(), rows.cbegin(), rows.cend()))
        return;
    const QScopedValueRollback busy(rearranging, rearranging + 1);
    // Imports only add at the end.
    if (wanted.size() > rows.size() && std::equal(rows.cbegin(), rows.cend(), wanted.cbegin())) {
        beginInsertRows({}, int(rows.size()), int(wanted.size()) - 1);
        rows = std::move(wanted);
        rowIndex.clear();
        endInsertRows();
        return;
    }
    const QSet<qint64> kept(wanted.cbegin(), wanted.cend());
    QSet<qint64> had;
    qsizetype next = 0; // in `rows`, skipping those that go
    for (const qint64 id : std::as_const(rows)) {
        if (kept.contains(id))
            had.insert(id);
    }
    for (const qint64 id : std::as_const(wanted)) {
        if (!had.contains(id))
            continue;
        while (next < rows.size() && !kept.contains(rows.at(next)))
            ++next;
        if (rows.at(next++) != id) {
            // A photo that left an album and came back moved to its end: start over.
            beginResetModel();
            rows = std::move(wanted);
            rowIndex.clear();
            endResetModel();
            return;
        }
    }
    for (qsizetype last = rows.size() - 1; last >= 0;) {
        if (kept.contains(rows.at(last))) {
            --last;
            continue;
        }
        qsizetype first = last;
        while (first > 0 && !kept.contains(rows.at(first - 1)))
            --first;
        beginRemoveRows({}, int(first), int(last));
        rows.remove(first, last - first + 1);
        rowIndex.clear();
        endRemoveRows();
        last = first - 1;
    }
    for (qsizetype at = 0; at < wanted.size();) {
        if (at < rows.size() && rows.at(at) == wanted.at(at)) {
            ++at;
            continue;
        }
        qsizetype end = at;
        while (end < wanted.size() && !had.contains(wanted.at(end)))
            ++end;
        beginInsertRows({}, int(at), int(end) - 1);
        rows.insert(at, end - at, 0);
        std::copy(wanted.cbegin() + at, wanted.cbegin() + end, rows.begin() + at);
        rowIndex.clear();
        endInsertRows();
        at = end;
    }
}

void PhotoGridModel::applyMemberships(const QList<LibraryMirror::MembershipChange>& changes) {
    QSet<qint64> leaving;
    bool touched = false;
    for (const LibraryMirror::MembershipChange& c : changes) {
        if (c.albumId != shown)
            continue;
        touched = true;
        if (!c.added) {
            if (albumSet.remove(c.photoId))
                leaving.insert(c.photoId);
        } else if (leaving.remove(c.photoId)) {
            albumIds.removeOne(c.photoId); // back again, at the album's end
            albumIds.append(c.photoId);
            albumSet.insert(c.photoId);
        } else if (!albumSet.contains(c.photoId)) {
            albumIds.append(c.photoId);
            albumSet.insert(c.photoId);
        }
    }
    if (!touched)
        return;
    if (!leaving.isEmpty())
        albumIds.removeIf([&leaving](qint64 id) { return leaving.contains(id); });
    refilter();
}

void PhotoGridModel::photosChanged(const QList<qint64>& ids) {
    if (!needle.isEmpty())
        refilter();
    if (rows.isEmpty())
        return;
    if (ids.size() > kMostRowSignals) {
        emit dataChanged(index(0), index(int(rows.size()) - 1));
        return;
    }
    for (const qint64 id : ids) {
        if (const int row = rowOf(id); row >= 0)
            emit dataChanged(index(row), index(row));
    }
}

void PhotoGridModel::thumbnailReady(qint64 id) {
    if (const int row = rowOf(id); row >= 0)
        emit dataChanged(index(row), index(row), {Qt::DecorationRole, ThumbnailStateRole});
}

int PhotoGridModel::rowOf(qint64 photoId) const {
    if (rowIndex.isEmpty() && !rows.isEmpty()) {
        rowIndex.reserve(rows.size());
        for (qsizetype i = 0; i < rows.size(); ++i)
            rowIndex.insert(rows.at(i), int(i));
    }
    return rowIndex.value(photoId, -1);
}

int PhotoGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows.size());
}

QVariant PhotoGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows.size())
        return {};
    const qint64 id = rows.at(index.row());
    const LibraryMirror::Photo* p = mirror.photo(id);
    switch (role) {
    case Qt::DisplayRole:
        return p ? p->fileName : QString();
    case Qt::ToolTipRole: {
        QString tip = mirror.imagePath(id);
        if (const QStringList names = mirror.keywordNames(id); !names.isEmpty())
            tip += QStringLiteral("\n") + names.join(QStringLiteral(", "));
        return tip;
    }
    case Qt::DecorationRole:
    case ThumbnailStateRole: {
        const ThumbnailLoader::Thumbnail t = thumbnails.find(id, mirror.imagePath(id));
        if (role == ThumbnailStateRole)
            return int(t.state);
        return t.state == ThumbnailLoader::State::Ready ? t.image : placeholder(t.state);
    }
    case PhotoIdRole:
        return id;
    case FlaggedRole:
        return mirror.isFlagged(id);
    default:
        return {};
    }
}
