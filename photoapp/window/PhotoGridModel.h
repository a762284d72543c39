/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "photoapp/window/LibraryMirror.h"
#include "photoapp/window/ThumbnailLoader.h"

#include <QAbstractListModel>
#include <QHash>
#include <QImage>
#include <QSet>

// The photos of the album the window shows, in album order, narrowed by the search text to those
// whose file name or one of whose keywords holds it, whatever its case. Rows follow the library's
// changes one by one, so the view keeps its selection and place while photos come and go.
class PhotoGridModel : public QAbstractListModel {
    Q_OBJECT
    Q_PROPERTY(QString filter READ filter WRITE setFilter NOTIFY filterChanged)
    Q_PROPERTY(qint64 album READ album NOTIFY albumChanged)
public:
    enum Role {
        PhotoIdRole = Qt::UserRole + 1,
        ThumbnailStateRole, // ThumbnailLoader::State as an int
        FlaggedRole,        // carries "Vup Missing" or "Vup Master Missing"
    };

    PhotoGridModel(LibraryMirror& mirror, ThumbnailLoader& thumbnails, QObject* parent = nullptr);

    qint64 album() const { return shown; }
    void showAlbum(qint64 albumId);
    QString filter() const { return needle; }
    void setFilter(const QString& text);

    // How many photos the album holds, whatever the filter.
    qsizetype albumSize() const { return albumIds.size(); }
    bool albumHolds(qint64 photoId) const { return albumSet.contains(photoId); }
    qint64 photoAt(int row) const { return rows.value(row); }
    int rowOf(qint64 photoId) const; // -1 when not shown
    // True while rows come and go: a selection that changes meanwhile is the view following the
    // rows, not the user choosing.
    bool isRearranging() const { return rearranging > 0; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // What stands in for a thumbnail not decoded yet, or that cannot be.
    static QImage placeholder(ThumbnailLoader::State state);

signals:
    void filterChanged();
    void albumChanged();

private:
    bool passes(qint64 photoId) const;
    QList<qint64> wantedRows() const;
    // Brings the rows to what the album and filter give now, as removals and insertions.
    void refilter();
    void applyMemberships(const QList<LibraryMirror::MembershipChange>& changes);
    void photosChanged(const QList<qint64>& ids);
    void thumbnailReady(qint64 id);

    LibraryMirror& mirror;
    ThumbnailLoader& thumbnails;
    qint64 shown = 0;
    QList<qint64> albumIds;
    QSet<qint64> albumSet;
    QString needle;
    QSet<qint64> matchingKeywords;
    QList<qint64> rows;
    mutable QHash<qint64, int> rowIndex; // built when first asked after a change of rows
    int rearranging = 0;
};
