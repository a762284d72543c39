/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "scan/report/FindingsTable.h"

class QIODevice;

// The findings as a CSV table (RFC 4180: a header row, one record per finding, CRLF line ends,
// a field holding a quote, comma or line break quoted with its quotes doubled). Columns: kind,
// position, id, file name, image path, master path, action, reason, application (the photo
// application the run talked to, on every row; last, so that scripts reading by position keep
// working); an unknown position or id is an empty field.
//
// Text is UTF-8. The path of a zombie or linked item goes out as the bytes it is on disk, so a
// name that is not valid UTF-8 keeps its bytes and the file can still be found (the JSON report,
// which holds text only, shows such bytes as U+FFFD).
//
// Spreadsheet programs, which the table is made for, run a cell that begins with =, +, -, @, a tab
// or a carriage return as a formula: a file named "+cmd|calc!A0.jpg" would run a command. For them
// such a cell gets a leading ' (shown as text, not part of the value); the exact form keeps every
// cell's bytes, for scripts.
//
// Written piece by piece: false when the device refused a write.
enum class CsvCells { SpreadsheetSafe, Exact };
bool writeFindingsCsv(QIODevice& device, const QList<Finding>& rows, const QString& application,
                      CsvCells cells = CsvCells::SpreadsheetSafe);
