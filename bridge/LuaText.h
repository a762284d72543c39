/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QByteArray>
#include <QStringView>
#include <optional>

// Lua chunks sent to darktable are code, and file names on Linux are bytes while D-Bus strings must
// be UTF-8. Values therefore enter a chunk only through literal(), and every text a chunk returns
// passes through kEncodeFunction there and decoded() here.
namespace LuaText {

// A double-quoted Lua string literal holding exactly `bytes`. Quotes, the backslash and every byte
// outside printable ASCII become a three-digit \ddd escape, so no value can close the literal or
// reach the code around it, and a digit that follows an escape is never read as part of it.
QByteArray literal(const QByteArray& bytes);

// A Lua function `vup_enc(s)` for the start of a chunk: every byte outside printable ASCII, and
// '%' itself, as %XX (upper-case hex). Newline and tab are thus free to separate fields.
extern const char* const kEncodeFunction;

// The bytes a chunk encoded with vup_enc; nothing when the text is not such an encoding.
std::optional<QByteArray> decoded(QStringView encoded);

} // namespace LuaText
