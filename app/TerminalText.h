/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QByteArray>
#include <QString>

// `text` with every control character, and every mark that turns the text's direction, written
// as an escape (\n, \r, \t, \e, \xHH, \u{HHHH}): a file name or a server's message printed on a
// terminal can then neither start a line that looks like the program's own nor command the
// terminal.
QString terminalSafe(const QString& text);
// The same for a name given as its bytes: what is valid UTF-8 is shown as text, each byte that is
// not as \xHH, so that the name can still be told apart from its neighbours and found.
QString terminalSafe(const QByteArray& bytes);
// For a message whose own line breaks and tabs are meant (an alert's paragraphs, its indented
// lists): they stay, everything else that could command the terminal is escaped.
QString terminalSafeLines(const QString& text);
