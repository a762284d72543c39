/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "app/findings/FindingsFilter.h"

#include "app/findings/FindingsModel.h"

#include <array>

namespace {

// As the column shows it: actions and reasons in the user's language.
const QString& columnText(const FindingsModel& model, int row, int column) {
    switch (column) {
    case FindingsModel::FileName:
        return model.finding(row).fileName;
    case FindingsModel::Path:
        return model.finding(row).path();
    case FindingsModel::Action:
        return model.action(row);
    default:
        return model.reason(row);
    }
}

// Kinds sort by the names the column shows.
int kindRank(Finding::Kind kind) {
    static const std::array<int, Finding::kKindCount> ranks = [] {
        std::array<int, Finding::kKindCount> r{};
        for (int k = 0; k < Finding::kKindCount; ++k) {
            for (int other = 0; other < Finding::kKindCount; ++other)
                r[k] += findingKindLabel(Finding::Kind(other)) < findingKindLabel(Finding::Kind(k));
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
        for (int r = 0; r < findings->rowCount(); ++r)
            keys.append(columnText(*findings, r, column).toCaseFolded());
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
    for (const QString* field :
         {&f.fileName, &f.path(), &findings->action(sourceRow), &findings->reason(sourceRow)}) {
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
