/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "bridge/LuaText.h"

namespace LuaText {

namespace {
bool passesAsIs(unsigned char c) {
    return c >= 0x20 && c <= 0x7e && c != '"' && c != '\'' && c != '\\';
}

int hexValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}
} // namespace

const char* const kEncodeFunction =
    "local function vup_enc(s) return (tostring(s):gsub(\"[^ -$&-~]\", function(c) "
    "return string.format(\"%%%02X\", c:byte()) end)) end\n";

QByteArray literal(const QByteArray& bytes) {
    QByteArray out;
    out.reserve(bytes.size() + 2);
    out.append('"');
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (passesAsIs(c)) {
            out.append(ch);
        } else {
            const char escape[] = {'\\', char('0' + c / 100), char('0' + c / 10 % 10), char('0' + c % 10)};
            out.append(escape, sizeof escape);
        }
    }
    out.append('"');
    return out;
}

std::optional<QByteArray> decoded(QStringView encoded) {
    QByteArray out;
    out.reserve(encoded.size());
    for (qsizetype i = 0; i < encoded.size(); ++i) {
        const QChar c = encoded[i];
        if (c.unicode() < 0x20 || c.unicode() > 0x7e)
            return std::nullopt;
        if (c != u'%') {
            out.append(char(c.unicode()));
            continue;
        }
        if (i + 2 >= encoded.size())
            return std::nullopt;
        const int high = hexValue(encoded[i + 1]);
        const int low = hexValue(encoded[i + 2]);
        if (high < 0 || low < 0)
            return std::nullopt;
        out.append(char(high * 16 + low));
        i += 2;
    }
    return out;
}

} // namespace LuaText
