/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "photoapp/PhotoLookup.h"

#include <cstring>
#include <sqlite3.h>

namespace {

constexpr auto kSql =
    "SELECT p.image_filename, p.image_path, p.original_path, p.date_ms, p.width, p.height, "
    "f.key, f.kind FROM photos p LEFT JOIN photo_faults f ON f.photo_id = p.id WHERE p.id = ?";

QString text(sqlite3_stmt* s, int column) {
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(s, column));
    return QString::fromUtf8(bytes, sqlite3_column_bytes(s, column));
}

bool sameText(sqlite3_stmt* s, int a, int b) {
    const unsigned char* first = sqlite3_column_text(s, a);
    const unsigned char* second = sqlite3_column_text(s, b);
    const int size = sqlite3_column_bytes(s, a);
    return first && second && size == sqlite3_column_bytes(s, b) &&
           std::memcmp(first, second, size_t(size)) == 0;
}

} // namespace

PhotoLookup::PhotoLookup(sqlite3* handle) : db(handle) {
    if (sqlite3_prepare_v3(db, kSql, -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr) != SQLITE_OK) {
        lastError = QString::fromUtf8(sqlite3_errmsg(db));
        statement = nullptr;
    }
}

PhotoLookup::~PhotoLookup() {
    sqlite3_finalize(statement);
}

std::optional<PhotoLookup::Row> PhotoLookup::find(qint64 id) {
    if (!statement)
        return std::nullopt;
    sqlite3_bind_int64(statement, 1, id);
    std::optional<Row> row;
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        if (!row) {
            row.emplace();
            row->id = id;
            row->imageFilename = text(statement, 0);
            row->imagePath = text(statement, 1);
            row->originalPath = sameText(statement, 1, 2) ? row->imagePath : text(statement, 2);
            row->dateMs = sqlite3_column_int64(statement, 3);
            row->width = sqlite3_column_int(statement, 4);
            row->height = sqlite3_column_int(statement, 5);
        }
        if (sqlite3_column_type(statement, 6) != SQLITE_NULL)
            row->faults.append({text(statement, 6), sqlite3_column_int(statement, 7)});
    }
    if (rc != SQLITE_DONE) {
        lastError = QString::fromUtf8(sqlite3_errmsg(db));
        row.reset();
    }
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    return row;
}
