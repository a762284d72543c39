/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QString>
#include <optional>

// The objects and interfaces photoapp serves (see DBUS.md): which object a path names, and each
// interface's introspection data, which is also the one statement of what its methods take.
namespace ServiceInterfaces {

enum class Kind { None, Application, Album, Photo, Keyword, Control };

struct Object {
    Kind kind = Kind::None;
    qint64 id = 0; // albums, photos, keywords
};

// Kind::None for every path but "/application", "/control" and a collection's prefix followed by
// a positive decimal id in its one spelling: "/photos/01" names nothing.
Object objectAt(const QString& path);

QLatin1StringView interfaceOf(Kind kind);
QString introspectionXml(Kind kind);

// The signature of the in-arguments of `member` in the kind's interface; nothing when the
// interface has no such method.
std::optional<QString> inSignature(Kind kind, const QString& member);

} // namespace ServiceInterfaces
