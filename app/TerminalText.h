/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QString>

// `text` with every control character, and every mark that turns the text's direction, written
// as an escape (\n, \r, \t, \e, \xHH, \u{HHHH}): a file name or a server's message printed on a
// terminal can then neither start a line that looks like the program's own nor command the
// terminal.
QString terminalSafe(const QString& text);
