/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "app/findings/FindingsModel.h"

#include "app/findings/ThumbnailCache.h"

#include <array>

namespace {

constexpr std::array<const char*, FindingsModel::ColumnCount> kHeaders{
    "",
    QT_TRANSLATE_NOOP("FindingsModel", "File Name"),
    QT_TRANSLATE_NOOP("FindingsModel", "Issue"),
    QT_TRANSLATE_NOOP("FindingsModel", "Path"),
    QT_TRANSLATE_NOOP("FindingsModel", "Action"),
    QT_TRANSLATE_NOOP("FindingsModel", "Reason"),
};

const QString& kindName(Finding::Kind kind) {
    static const std::array<QString, Finding::kKindCount> names = [] {
        std::array<QString, Finding::kKindCount> n;
        for (int k = 0; k < Finding::kKindCount; ++k)
            n[k] = findingKindLabel(Finding::Kind(k));
        return n;
    }();
    return names[int(kind)];
}

} // namespace

FindingsModel::FindingsModel(ThumbnailCache* cache, QObject* parent)
    : QAbstractTableModel(parent), thumbnails(cache) {
    connect(thumbnails, &ThumbnailCache::decoded, this, &FindingsModel::pictureArrived);
}

void FindingsModel::setRows(QList<Finding> rows) {
    beginResetModel();
    findings = std::move(rows);
    // Many rows share a text: each is translated once.
    QHash<QString, QString> translated;
    const auto translate = [&translated](const QString& text) {
        auto it = translated.constFind(text);
        if (it == translated.cend())
            it = translated.insert(text, findingTextShown(text));
        return *it;
    };
    shown.clear();
    shown.reserve(findings.size());
    for (const Finding& f : std::as_const(findings))
        shown.append({translate(f.action), translate(f.reason)});
    awaiting.clear();
    endResetModel();
}

int FindingsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(findings.size());
}

int FindingsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant FindingsModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Finding& f = findings.at(index.row());
    if (role == KindRole)
        return int(f.kind);
    if (index.column() == Picture) {
        if (role == Qt::ToolTipRole)
            return f.path();
        if (role != Qt::DecorationRole)
            return {};
        const QByteArray file = f.pictureFile();
        QPixmap picture;
        switch (thumbnails->lookup(file, &picture)) {
        case ThumbnailCache::State::Ready:
            return picture;
        case ThumbnailCache::State::NoPicture:
            return thumbnails->placeholder();
        case ThumbnailCache::State::Pending: {
            QList<int>& rows = awaiting[file];
            if (!rows.contains(index.row()))
                rows.append(index.row());
            return {};
        }
        }
        return {};
    }
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    switch (index.column()) {
    case FileName:
        return f.fileName;
    case Issue:
        return kindName(f.kind);
    case Path:
        return f.path();
    case Action:
        return shown.at(index.row()).action;
    case Reason:
        return shown.at(index.row()).reason;
    default:
        return {};
    }
}

QVariant FindingsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return *kHeaders[section] ? tr(kHeaders[section]) : QString();
}

void FindingsModel::pictureArrived(const QByteArray& file) {
    const QList<int> rows = awaiting.take(file);
    for (const int row : rows) {
        if (row < findings.size())
            emit dataChanged(index(row, Picture), index(row, Picture), {Qt::DecorationRole});
    }
}
