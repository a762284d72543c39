/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "photoapp/window/KeywordListModel.h"

#include "photoapp/KeywordRules.h"

#include <algorithm>

KeywordListModel::KeywordListModel(LibraryMirror& m, QObject* parent)
    : QAbstractListModel(parent), mirror(m) {
    rebuild();
}

void KeywordListModel::setEditable(bool on) {
    editable = on;
    if (!rows.isEmpty())
        emit dataChanged(index(0), index(int(rows.size()) - 1));
}

void KeywordListModel::rebuild() {
    beginResetModel();
    rows.clear();
    const QHash<qint64, QString>& names = mirror.keywords();
    rows.reserve(names.size());
    for (auto it = names.cbegin(); it != names.cend(); ++it)
        rows.append({it.key(), it.value()});
    std::sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
        const int order = a.name.compare(b.name, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a.id < b.id;
    });
    endResetModel();
}

QModelIndex KeywordListModel::addPending() {
    if (!rows.isEmpty() && rows.constLast().id == 0)
        return index(int(rows.size()) - 1);
    beginInsertRows({}, int(rows.size()), int(rows.size()));
    rows.append({0, QString()});
    endInsertRows();
    return index(int(rows.size()) - 1);
}

void KeywordListModel::dropPending() {
    if (rows.isEmpty() || rows.constLast().id != 0)
        return;
    beginRemoveRows({}, int(rows.size()) - 1, int(rows.size()) - 1);
    rows.removeLast();
    endRemoveRows();
}

qint64 KeywordListModel::keywordAt(int row) const {
    return row >= 0 && row < rows.size() ? rows.at(row).id : 0;
}

int KeywordListModel::rowOf(qint64 keywordId) const {
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (rows.at(i).id == keywordId)
            return int(i);
    }
    return -1;
}

int KeywordListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows.size());
}

QVariant KeywordListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows.size())
        return {};
    const Row& row = rows.at(index.row());
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return row.name;
    if (role == KeywordIdRole)
        return row.id;
    return {};
}

Qt::ItemFlags KeywordListModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractListModel::flags(index);
    if (editable && index.isValid())
        f |= Qt::ItemIsEditable;
    return f;
}

bool KeywordListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || index.row() >= rows.size())
        return false;
    Row& row = rows[index.row()];
    const QString name = value.toString().trimmed();
    if (row.id != 0 && name == row.name)
        return false;
    if (row.id == 0 && name.isEmpty())
        return false; // left nameless: dropped when its editor closes
    if (const QString why = KeywordRules::refusal(name); !why.isEmpty()) {
        emit refused(tr("\"%1\" cannot be a keyword name (%2).").arg(name, why));
        return false;
    }
    Catalogue& catalogue = mirror.catalogue();
    qint64 id = row.id;
    if (id == 0) {
        id = catalogue.ensureKeyword(name);
        if (id == 0) {
            emit refused(tr("The keyword \"%1\" could not be added: %2.").arg(name, catalogue.lastError()));
            return false;
        }
    } else if (!catalogue.renameKeyword(id, name)) {
        emit refused(tr("The keyword \"%1\" could not be renamed: %2.").arg(row.name, catalogue.lastError()));
        return false;
    }
    row = {id, name};
    emit dataChanged(index, index);
    emit written(id);
    return true;
}
