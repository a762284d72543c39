/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "photoapp/ServiceInterfaces.h"

#include "wire/PhotoAppWire.h"

#include <QHash>
#include <QXmlStreamReader>
#include <array>

namespace {

// Introspection data, so generic tools (gdbus, busctl) know the argument types. It is also the
// one statement of each method's in-arguments: every request is checked against it.
constexpr auto kApplicationXml = R"xml(  <interface name="com.apple.iPhoto.Application">
    <method name="Ping"/>
    <method name="Version"><arg direction="out" type="s"/></method>
    <method name="Selection"><arg direction="out" type="ao"/></method>
    <method name="PhotoLibraryAlbum"><arg direction="out" type="o"/></method>
    <method name="TrashAlbum"><arg direction="out" type="o"/></method>
    <method name="Albums"><arg direction="out" type="ao"/></method>
    <method name="NewAlbum"><arg name="name" direction="in" type="s"/><arg direction="out" type="o"/></method>
    <method name="Keywords"><arg direction="out" type="ao"/></method>
    <method name="KeywordNames"><arg direction="out" type="as"/></method>
    <method name="AssignKeyword"><arg name="text" direction="in" type="s"/><arg direction="out" type="b"/></method>
    <method name="Importing"><arg direction="out" type="b"/></method>
    <method name="LibraryPath"><arg direction="out" type="s"/></method>
    <method name="ReferencedPaths"><arg name="paths" direction="in" type="as"/><arg name="referenced" direction="out" type="ab"/></method>
    <method name="LastImport"><arg name="imported" direction="out" type="as"/><arg name="refused" direction="out" type="a(ss)"/></method>
    <signal name="ImportFinished"><arg name="imported" type="as"/><arg name="refused" type="a(ss)"/></signal>
  </interface>
)xml";
constexpr auto kAlbumXml = R"xml(  <interface name="com.apple.iPhoto.Album">
    <method name="Photos"><arg direction="out" type="ao"/></method>
    <method name="PhotoCount"><arg direction="out" type="x"/></method>
    <method name="Select"/>
    <method name="Name"><arg direction="out" type="s"/></method>
    <method name="Type"><arg direction="out" type="u"/></method>
    <method name="ImportFrom"><arg name="path" direction="in" type="s"/><arg name="forceCopy" direction="in" type="b"/><arg direction="out" type="b"/></method>
  </interface>
)xml";
constexpr auto kPhotoXml = R"xml(  <interface name="com.apple.iPhoto.Photo">
    <method name="Properties"><arg name="values" direction="out" type="a{sv}"/><arg name="nullKeys" direction="out" type="as"/></method>
    <method name="Select"/>
    <method name="RemoveFrom"><arg name="album" direction="in" type="o"/><arg direction="out" type="b"/></method>
  </interface>
)xml";
constexpr auto kKeywordXml = R"xml(  <interface name="com.apple.iPhoto.Keyword">
    <method name="Name"><arg direction="out" type="s"/></method>
  </interface>
)xml";
constexpr auto kControlXml = R"xml(  <interface name="com.apple.iPhoto.Control">
    <method name="SelectItems"><arg name="items" direction="in" type="ao"/></method>
    <method name="AddKeyword"><arg name="name" direction="in" type="s"/><arg direction="out" type="o"/></method>
    <method name="EditPhoto"><arg name="photo" direction="in" type="x"/><arg direction="out" type="s"/></method>
    <method name="SetNullKey"><arg name="photo" direction="in" type="x"/><arg name="key" direction="in" type="s"/></method>
    <method name="SetAbsentKey"><arg name="photo" direction="in" type="x"/><arg name="key" direction="in" type="s"/></method>
    <method name="FailProperties"><arg name="photo" direction="in" type="x"/></method>
    <method name="RefuseChanges"><arg name="photo" direction="in" type="x"/></method>
    <method name="SetVersionError"><arg name="name" direction="in" type="s"/><arg name="message" direction="in" type="s"/></method>
    <method name="SetImportDelay"><arg name="ms" direction="in" type="i"/></method>
    <method name="ClearFaults"/>
  </interface>
)xml";

struct Interface {
    const char* name;
    const char* xml;
};

Interface interfaceFor(ServiceInterfaces::Kind kind) {
    using K = ServiceInterfaces::Kind;
    switch (kind) {
    case K::Application:
        return {PhotoAppWire::kApplicationInterface, kApplicationXml};
    case K::Album:
        return {PhotoAppWire::kAlbumInterface, kAlbumXml};
    case K::Photo:
        return {PhotoAppWire::kPhotoInterface, kPhotoXml};
    case K::Keyword:
        return {PhotoAppWire::kKeywordInterface, kKeywordXml};
    case K::Control:
        return {PhotoAppWire::kControlInterface, kControlXml};
    case K::None:
        break;
    }
    return {"", ""};
}

// member -> signature of its in-arguments, read from the introspection data.
QHash<QString, QString> methodsIn(const char* xml) {
    QHash<QString, QString> methods;
    QXmlStreamReader reader(QByteArray("<node>") + xml + "</node>");
    QString method;
    while (!reader.atEnd()) {
        reader.readNext();
        const QXmlStreamAttributes a = reader.attributes();
        if (reader.isStartElement() && reader.name() == QLatin1StringView("method")) {
            method = a.value(QLatin1StringView("name")).toString();
            methods.insert(method, QString());
        } else if (reader.isEndElement() && reader.name() == QLatin1StringView("method")) {
            method.clear();
        } else if (reader.isStartElement() && reader.name() == QLatin1StringView("arg") &&
                   !method.isEmpty() && a.value(QLatin1StringView("direction")) != QLatin1StringView("out")) {
            methods[method] += a.value(QLatin1StringView("type"));
        }
    }
    Q_ASSERT(!reader.hasError());
    return methods;
}

// The id after `prefix`, written as QString::number writes it; -1 for any other spelling.
qint64 canonicalId(const QString& path, const char* prefix) {
    const QLatin1StringView p(prefix);
    if (!path.startsWith(p))
        return -1;
    const QStringView digits = QStringView(path).mid(p.size());
    if (digits.isEmpty() || digits.size() > 18 || digits.front() == u'0')
        return -1;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9')
            return -1;
    }
    return digits.toLongLong();
}

} // namespace

namespace ServiceInterfaces {

Object objectAt(const QString& path) {
    if (path == QLatin1StringView(PhotoAppWire::kApplicationPath))
        return {Kind::Application, 0};
    if (path == QLatin1StringView(PhotoAppWire::kControlPath))
        return {Kind::Control, 0};
    const std::pair<const char*, Kind> collections[] = {{PhotoAppWire::kPhotoPathPrefix, Kind::Photo},
                                                        {PhotoAppWire::kAlbumPathPrefix, Kind::Album},
                                                        {PhotoAppWire::kKeywordPathPrefix, Kind::Keyword}};
    for (const auto& [prefix, kind] : collections) {
        if (const qint64 id = canonicalId(path, prefix); id > 0)
            return {kind, id};
    }
    return {};
}

QLatin1StringView interfaceOf(Kind kind) {
    return QLatin1StringView(interfaceFor(kind).name);
}

QString introspectionXml(Kind kind) {
    return QString::fromLatin1(interfaceFor(kind).xml);
}

std::optional<QString> inSignature(Kind kind, const QString& member) {
    static const std::array<QHash<QString, QString>, 6> tables = [] {
        std::array<QHash<QString, QString>, 6> t;
        for (const Kind k : {Kind::Application, Kind::Album, Kind::Photo, Kind::Keyword, Kind::Control})
            t.at(static_cast<size_t>(k)) = methodsIn(interfaceFor(k).xml);
        return t;
    }();
    const QHash<QString, QString>& methods = tables.at(static_cast<size_t>(kind));
    const auto it = methods.constFind(member);
    if (it == methods.cend())
        return std::nullopt;
    return *it;
}

} // namespace ServiceInterfaces
