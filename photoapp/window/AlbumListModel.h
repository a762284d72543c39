/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "photoapp/window/LibraryMirror.h"

#include <QAbstractListModel>

// The sidebar: the whole library ("Photos") first, then every album in the order it was made (the
// zombie albums Vup makes among them), and the Trash last.
class AlbumListModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role { AlbumIdRole = Qt::UserRole + 1 };

    explicit AlbumListModel(LibraryMirror& mirror, QObject* parent = nullptr);

    qint64 albumAt(int row) const;
    int rowOf(qint64 albumId) const; // -1 when there is no such album

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    void rebuild();

    LibraryMirror& mirror;
    QList<Catalogue::Album> rows;
};
