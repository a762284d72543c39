/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "scan/report/FindingsCsv.h"

#include <QIODevice>

namespace {

constexpr const char* kHeader =
    "kind,position,id,file name,image path,master path,action,reason,application\r\n";
constexpr qsizetype kChunk = 1 << 16;

bool startsLikeFormula(const QByteArray& value) {
    return !value.isEmpty() && QByteArrayView("=+-@\t\r").contains(value.front());
}

void field(QByteArray& out, QByteArray value, CsvCells cells) {
    if (cells == CsvCells::SpreadsheetSafe && startsLikeFormula(value))
        value.prepend('\'');
    const bool quote =
        value.contains('"') || value.contains(',') || value.contains('\n') || value.contains('\r');
    if (!quote) {
        out += value;
        return;
    }
    out += '"';
    for (const char c : value) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

QByteArray number(qint64 n) {
    return n < 0 ? QByteArray() : QByteArray::number(n);
}

} // namespace

bool writeFindingsCsv(QIODevice& device, const QList<Finding>& rows, const QString& application,
                      CsvCells cells) {
    const QByteArray app = application.toUtf8();
    QByteArray out(kHeader);
    out.reserve(kChunk + 4096);
    for (const Finding& r : rows) {
        const bool file = !r.native.isEmpty();
        field(out, findingKindName(r.kind).toUtf8(), cells);
        out += ',';
        out += number(r.position);
        out += ',';
        out += number(r.id);
        out += ',';
        field(out, file ? r.native.mid(r.native.lastIndexOf('/') + 1) : r.fileName.toUtf8(), cells);
        out += ',';
        field(out, file ? (r.nativeNow.isEmpty() ? r.native : r.nativeNow) : r.imagePath.toUtf8(), cells);
        out += ',';
        field(out, file ? r.native : r.masterPath.toUtf8(), cells);
        out += ',';
        field(out, r.action.toUtf8(), cells);
        out += ',';
        field(out, r.reason.toUtf8(), cells);
        out += ',';
        field(out, app, cells);
        out += "\r\n";
        if (out.size() >= kChunk) {
            if (device.write(out) != out.size())
                return false;
            out.clear();
        }
    }
    return device.write(out) == out.size();
}
