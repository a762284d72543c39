/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "scan/report/FindingsTable.h"

#include <QList>
#include <QSortFilterProxyModel>
#include <optional>

class FindingsModel;

// Sorting and filtering of the findings: by issue kind, and by a text found in the file name,
// path, action or reason (any letter case). Sorting compares the findings themselves rather
// than their display texts, so a 100,000-row sort makes no per-cell values.
class FindingsFilter : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit FindingsFilter(FindingsModel* source, QObject* parent = nullptr);

    // Only this kind; nothing for every kind.
    void setKind(std::optional<Finding::Kind> kind);
    void setText(const QString& text);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    // The sorted column's texts, case-folded once per sort rather than at each comparison.
    const QString& key(int row, int column) const;

    FindingsModel* findings;
    mutable QList<QString> keys;
    mutable int keysColumn = -1;
    std::optional<Finding::Kind> kind;
    QString text;
};
