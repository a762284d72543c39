/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "app/TerminalText.h"

#include <QStringList>

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

// The length of the well-formed UTF-8 sequence at `at` (RFC 3629: no overlong forms, no
// surrogates, nothing above U+10FFFF), or 0 when the byte there starts none.
qsizetype utf8SequenceLength(const QByteArray& bytes, qsizetype at) {
    const auto byte = [&](qsizetype i) {
        return static_cast<unsigned char>(bytes.at(i));
    };
    const unsigned char lead = byte(at);
    if (lead < 0x80)
        return 1;
    qsizetype length = 0;
    unsigned char low = 0x80, high = 0xbf;
    if (lead >= 0xc2 && lead <= 0xdf) {
        length = 2;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        length = 3;
        low = lead == 0xe0 ? 0xa0 : 0x80;
        high = lead == 0xed ? 0x9f : 0xbf;
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        length = 4;
        low = lead == 0xf0 ? 0x90 : 0x80;
        high = lead == 0xf4 ? 0x8f : 0xbf;
    } else {
        return 0;
    }
    if (at + length > bytes.size())
        return 0;
    for (qsizetype i = 1; i < length; ++i) {
        const unsigned char next = byte(at + i);
        if (next < (i == 1 ? low : 0x80) || next > (i == 1 ? high : 0xbf))
            return 0;
    }
    return length;
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

QString terminalSafe(const QByteArray& bytes) {
    QString safe;
    safe.reserve(bytes.size());
    qsizetype at = 0;
    while (at < bytes.size()) {
        const qsizetype length = utf8SequenceLength(bytes, at);
        if (length == 0) {
            safe += QStringLiteral("\\x%1").arg(static_cast<unsigned char>(bytes.at(at)), 2, 16,
                                                QLatin1Char('0'));
            ++at;
            continue;
        }
        safe += terminalSafe(QString::fromUtf8(bytes.constData() + at, length));
        at += length;
    }
    return safe;
}

QString terminalSafeLines(const QString& text) {
    QStringList lines = text.split(u'\n');
    for (QString& line : lines) {
        QStringList cells = line.split(u'\t');
        for (QString& cell : cells)
            cell = terminalSafe(cell);
        line = cells.join(u'\t');
    }
    return lines.join(u'\n');
}
