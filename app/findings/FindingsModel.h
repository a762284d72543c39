/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "scan/report/FindingsTable.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QList>

class ThumbnailCache;

// The findings of one run as a table: one row per finding, over the run's own list (no item
// objects, no widgets per cell). The picture column asks the thumbnail cache only for the rows
// a view paints and tells the view when a picture has arrived.
class FindingsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Picture, FileName, Issue, Path, Action, Reason, ColumnCount };
    // Finding::Kind as an int, for filtering.
    static constexpr int KindRole = Qt::UserRole + 1;

    explicit FindingsModel(ThumbnailCache* thumbnails, QObject* parent = nullptr);

    void setRows(QList<Finding> rows);
    const QList<Finding>& rows() const { return findings; }
    const Finding& finding(int row) const { return findings.at(row); }
    // The row's action and reason as the table shows them, in the user's language.
    const QString& action(int row) const { return shown.at(row).action; }
    const QString& reason(int row) const { return shown.at(row).reason; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void pictureArrived(const QByteArray& file);

    QList<Finding> findings;
    struct Shown {
        QString action, reason;
    };
    QList<Shown> shown; // translated once per run, not per paint or keystroke
    ThumbnailCache* thumbnails;
    // Rows waiting for a picture, by file: only rows a view has painted.
    mutable QHash<QByteArray, QList<int>> awaiting;
};
