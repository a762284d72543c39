/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "app/findings/FindingsFilter.h"

#include "app/findings/FindingsModel.h"

#include <array>

namespace {

const QString& columnText(const Finding& f, int column) {
    switch (column) {
    case FindingsModel::FileName:
        return f.fileName;
    case FindingsModel::Path:
        return f.path();
    case FindingsModel::Action:
        return f.action;
    default:
        return f.reason;
    }
}

// Kinds sort by the names the column shows.
int kindRank(Finding::Kind kind) {
    static const std::array<int, Finding::kKindCount> ranks = [] {
        std::array<int, Finding::kKindCount> r{};
        for (int k = 0; k < Finding::kKindCount; ++k) {
            for (int other = 0; other < Finding::kKindCount; ++other)
                r[k] += findingKindName(Finding::Kind(other)) < findingKindName(Finding::Kind(k));
        }
        return r;
    }();
    return ranks[int(kind)];
}

} // namespace

FindingsFilter::FindingsFilter(FindingsModel* source, QObject* parent)
    : QSortFilterProxyModel(parent), findings(source) {
    setSourceModel(source);
    // Keys live for one sort: they go once it is done, and with the rows they were made for.
    const auto forget = [this] {
        keys.clear();
        keysColumn = -1;
    };
    connect(this, &QAbstractItemModel::layoutChanged, this, forget);
    connect(this, &QAbstractItemModel::modelReset, this, forget);
    connect(source, &QAbstractItemModel::modelAboutToBeReset, this, forget);
}

const QString& FindingsFilter::key(int row, int column) const {
    if (keysColumn != column) {
        keys.clear();
        keys.reserve(findings->rowCount());
        for (const Finding& f : findings->rows())
            keys.append(columnText(f, column).toCaseFolded());
        keysColumn = column;
    }
    return keys.at(row);
}

void FindingsFilter::setKind(std::optional<Finding::Kind> k) {
    if (kind == k)
        return;
    kind = k;
    invalidateFilter();
}

void FindingsFilter::setText(const QString& t) {
    if (text == t)
        return;
    text = t;
    invalidateFilter();
}

bool FindingsFilter::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
    if (sourceParent.isValid())
        return false;
    const Finding& f = findings->finding(sourceRow);
    if (kind && f.kind != *kind)
        return false;
    if (text.isEmpty())
        return true;
    for (const QString* field : {&f.fileName, &f.path(), &f.action, &f.reason}) {
        if (field->contains(text, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

bool FindingsFilter::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    const Finding& a = findings->finding(left.row());
    const Finding& b = findings->finding(right.row());
    int order = 0;
    switch (left.column()) {
    case FindingsModel::Picture:
        break;
    case FindingsModel::Issue:
        order = kindRank(a.kind) - kindRank(b.kind);
        break;
    default:
        order = key(left.row(), left.column()).compare(key(right.row(), right.column()));
    }
    // Equal findings keep the order of the run.
    return order != 0 ? order < 0 : left.row() < right.row();
}
