/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "photoapp/window/LibraryMirror.h"

#include <QAbstractListModel>

// The library's keywords by name, whatever their case. In edit mode names can be changed in place,
// and a new row can be opened for a keyword to come: it is written to the catalogue only once it
// has a name, and goes away when editing it ends without one.
class KeywordListModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role { KeywordIdRole = Qt::UserRole + 1 };

    explicit KeywordListModel(LibraryMirror& mirror, QObject* parent = nullptr);

    void setEditable(bool editable);
    // Reads the names again from the mirror.
    void rebuild();
    // The row of a keyword to come, at the end.
    QModelIndex addPending();
    // Drops the keyword to come, if it is still nameless.
    void dropPending();
    qint64 keywordAt(int row) const;
    int rowOf(qint64 keywordId) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    // A name the library cannot take, with the reason, in a sentence.
    void refused(const QString& message);
    // A keyword was added or renamed: the view may want to show it.
    void written(qint64 keywordId);

private:
    struct Row {
        qint64 id = 0; // 0: the keyword to come
        QString name;
    };

    LibraryMirror& mirror;
    QList<Row> rows;
    bool editable = false;
};
