/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "photoapp/window/AlbumListModel.h"

#include "wire/PhotoAppWire.h"

#include <QApplication>
#include <QIcon>
#include <QStyle>

namespace {

QIcon iconOf(quint32 type) {
    QStyle* style = QApplication::style();
    switch (type) {
    case PhotoAppWire::kAlbumTypeLibrary:
        return QIcon::fromTheme(QStringLiteral("folder-pictures"),
                                style->standardIcon(QStyle::SP_DirHomeIcon));
    case PhotoAppWire::kAlbumTypeTrash:
        return QIcon::fromTheme(QStringLiteral("user-trash"), style->standardIcon(QStyle::SP_TrashIcon));
    default:
        return QIcon::fromTheme(QStringLiteral("folder"), style->standardIcon(QStyle::SP_DirIcon));
    }
}

} // namespace

AlbumListModel::AlbumListModel(LibraryMirror& m, QObject* parent) : QAbstractListModel(parent), mirror(m) {
    rebuild();
    connect(&mirror, &LibraryMirror::albumsChanged, this, &AlbumListModel::rebuild);
    connect(&mirror, &LibraryMirror::reloaded, this, &AlbumListModel::rebuild);
}

void AlbumListModel::rebuild() {
    QList<Catalogue::Album> sorted;
    QList<Catalogue::Album> trash;
    for (const Catalogue::Album& album : mirror.albums()) {
        if (album.id == mirror.libraryAlbumId())
            sorted.prepend(album);
        else if (album.id == mirror.trashAlbumId())
            trash.append(album);
        else
            sorted.append(album);
    }
    sorted.append(trash);
    // Albums are only ever added, at the end before the Trash: insert them so that the sidebar
    // keeps its selection; anything else starts over.
    const bool grows = sorted.size() > rows.size() && !rows.isEmpty() &&
                       std::equal(rows.cbegin(), rows.cend() - 1, sorted.cbegin(),
                                  [](const Catalogue::Album& a, const Catalogue::Album& b) {
                                      return a.id == b.id && a.name == b.name;
                                  }) &&
                       rows.constLast().id == sorted.constLast().id;
    if (grows) {
        const int first = int(rows.size()) - 1;
        beginInsertRows({}, first, first + int(sorted.size() - rows.size()) - 1);
        rows = std::move(sorted);
        endInsertRows();
        return;
    }
    beginResetModel();
    rows = std::move(sorted);
    endResetModel();
}

qint64 AlbumListModel::albumAt(int row) const {
    return row >= 0 && row < rows.size() ? rows.at(row).id : 0;
}

int AlbumListModel::rowOf(qint64 albumId) const {
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (rows.at(i).id == albumId)
            return int(i);
    }
    return -1;
}

int AlbumListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows.size());
}

QVariant AlbumListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows.size())
        return {};
    const Catalogue::Album& album = rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return album.name;
    case Qt::DecorationRole:
        return iconOf(album.type);
    case AlbumIdRole:
        return album.id;
    default:
        return {};
    }
}
