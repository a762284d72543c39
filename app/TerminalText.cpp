/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "app/TerminalText.h"

namespace {

bool changesTextDirection(QChar c) {
    switch (c.direction()) {
    case QChar::DirLRE:
    case QChar::DirRLE:
    case QChar::DirLRO:
    case QChar::DirRLO:
    case QChar::DirPDF:
    case QChar::DirLRI:
    case QChar::DirRLI:
    case QChar::DirFSI:
    case QChar::DirPDI:
        return true;
    default:
        return false;
    }
}

} // namespace

QString terminalSafe(const QString& text) {
    QString safe;
    safe.reserve(text.size());
    for (const QChar c : text) {
        const uint code = c.unicode();
        if (c == u'\n')
            safe += QStringLiteral("\\n");
        else if (c == u'\r')
            safe += QStringLiteral("\\r");
        else if (c == u'\t')
            safe += QStringLiteral("\\t");
        else if (code == 0x1b)
            safe += QStringLiteral("\\e");
        else if (code < 0x20 || code == 0x7f)
            safe += QStringLiteral("\\x%1").arg(code, 2, 16, QLatin1Char('0'));
        else if (c.category() == QChar::Other_Control || changesTextDirection(c))
            safe += QStringLiteral("\\u{%1}").arg(code, 4, 16, QLatin1Char('0'));
        else
            safe += c;
    }
    return safe;
}
