#include "photoapp/PhotoAppService.h"

#include "bridge/PhotoAppWire.h"
#include "photoapp/DBusNames.h"
#include "photoapp/Log.h"
#include "photoapp/PhotoEditor.h"
#include "photoapp/PropertyKeys.h"

#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QFileInfo>

namespace {

constexpr auto kErrorInvalidArgs = "org.freedesktop.DBus.Error.InvalidArgs";
constexpr auto kIntrospectableInterface = "org.freedesktop.DBus.Introspectable";
constexpr auto kIntrospectHeader =
    "<!DOCTYPE node PUBLIC \"-//freedesktop//DTD D-BUS Object Introspection 1.0//EN\"\n"
    " \"http://www.freedesktop.org/standards/dbus/1.0/introspect.dtd\">\n<node>\n"
    "  <interface name=\"org.freedesktop.DBus.Introspectable\">\n"
    "    <method name=\"Introspect\"><arg direction=\"out\" type=\"s\"/></method>\n  </interface>\n";
constexpr auto kErrorUnknownMethod = "org.freedesktop.DBus.Error.UnknownMethod";

// Introspection data, so generic tools (gdbus, busctl) know the argument types.
constexpr auto kApplicationXml = R"(  <interface name="com.apple.iPhoto.Application">
    <method name="Ping"/>
    <method name="Version"><arg direction="out" type="s"/></method>
    <method name="Selection"><arg direction="out" type="ao"/></method>
    <method name="PhotoLibraryAlbum"><arg direction="out" type="o"/></method>
    <method name="TrashAlbum"><arg direction="out" type="o"/></method>
    <method name="Albums"><arg direction="out" type="ao"/></method>
    <method name="NewAlbum"><arg name="name" direction="in" type="s"/><arg direction="out" type="o"/></method>
    <method name="Keywords"><arg direction="out" type="ao"/></method>
    <method name="AssignKeyword"><arg name="text" direction="in" type="s"/><arg direction="out" type="b"/></method>
    <method name="Importing"><arg direction="out" type="b"/></method>
  </interface>
)";
constexpr auto kAlbumXml = R"(  <interface name="com.apple.iPhoto.Album">
    <method name="Photos"><arg direction="out" type="ao"/></method>
    <method name="PhotoCount"><arg direction="out" type="x"/></method>
    <method name="Select"/>
    <method name="Name"><arg direction="out" type="s"/></method>
    <method name="Type"><arg direction="out" type="u"/></method>
    <method name="ImportFrom"><arg name="path" direction="in" type="s"/><arg name="forceCopy" direction="in" type="b"/><arg direction="out" type="b"/></method>
  </interface>
)";
constexpr auto kPhotoXml = R"(  <interface name="com.apple.iPhoto.Photo">
    <method name="Properties"><arg name="values" direction="out" type="a{sv}"/><arg name="nullKeys" direction="out" type="as"/></method>
    <method name="Select"/>
    <method name="RemoveFrom"><arg name="album" direction="in" type="o"/><arg direction="out" type="b"/></method>
  </interface>
)";
constexpr auto kKeywordXml = R"(  <interface name="com.apple.iPhoto.Keyword">
    <method name="Name"><arg direction="out" type="s"/></method>
  </interface>
)";
constexpr auto kControlXml = R"(  <interface name="com.apple.iPhoto.Control">
    <method name="SelectItems"><arg name="items" direction="in" type="ao"/></method>
    <method name="AddKeyword"><arg name="name" direction="in" type="s"/><arg direction="out" type="o"/></method>
    <method name="EditPhoto"><arg name="photo" direction="in" type="x"/><arg direction="out" type="s"/></method>
    <method name="SetNullKey"><arg name="photo" direction="in" type="x"/><arg name="key" direction="in" type="s"/></method>
    <method name="SetAbsentKey"><arg name="photo" direction="in" type="x"/><arg name="key" direction="in" type="s"/></method>
    <method name="FailProperties"><arg name="photo" direction="in" type="x"/></method>
    <method name="SetVersionError"><arg name="name" direction="in" type="s"/><arg name="message" direction="in" type="s"/></method>
    <method name="SetImportDelay"><arg name="ms" direction="in" type="i"/></method>
    <method name="ClearFaults"/>
  </interface>
)";

// The id in "/photos/42"; -1 for anything else.
qint64 idIn(const QString& path, const char* prefix) {
    const QLatin1StringView p(prefix);
    if (!path.startsWith(p) || path.size() == p.size())
        return -1;
    bool good = false;
    const qint64 id = QStringView(path).mid(p.size()).toLongLong(&good);
    return good && id > 0 ? id : -1;
}

QDBusObjectPath pathOf(const Catalogue::SelectionItem& item) {
    return QDBusObjectPath(item.kind == Catalogue::SelectionItem::Kind::Album
                               ? PhotoAppWire::albumPath(item.id)
                               : PhotoAppWire::photoPath(item.id));
}

QVariant pathList(const QList<QDBusObjectPath>& paths) {
    return QVariant::fromValue(paths);
}

QDBusMessage noSuchObject(const QDBusMessage& m) {
    return m.createErrorReply(QString::fromLatin1(PhotoAppWire::kErrorNoSuchObject),
                              QStringLiteral("No object at %1").arg(m.path()));
}

QDBusMessage badArguments(const QDBusMessage& m, const char* expected) {
    return m.createErrorReply(QString::fromLatin1(kErrorInvalidArgs),
                              QStringLiteral("%1 takes (%2), not (%3)")
                                  .arg(m.member(), QLatin1StringView(expected), m.signature()));
}

QDBusMessage unknownMethod(const QDBusMessage& m) {
    return m.createErrorReply(
        QString::fromLatin1(kErrorUnknownMethod),
        QStringLiteral("No method %1.%2 at %3").arg(m.interface(), m.member(), m.path()));
}

QDBusMessage failed(const QDBusMessage& m, const QString& why) {
    return m.createErrorReply(QString::fromLatin1(PhotoAppWire::kErrorFailed), why);
}

// Accepts a request for `member` in `interface` (a request without an interface names any) with
// exactly the given signature.
bool is(const QDBusMessage& m, const char* interface, const char* member) {
    return m.member() == QLatin1StringView(member) &&
           (m.interface().isEmpty() || m.interface() == QLatin1StringView(interface));
}

} // namespace

PhotoAppService::PhotoAppService(std::unique_ptr<Catalogue> c, QString version, QObject* parent)
    : QDBusVirtualObject(parent), catalogue(std::move(c)), versionText(std::move(version)),
      importer(catalogue->library()) {
    qDBusRegisterMetaType<QList<QDBusObjectPath>>();
}

PhotoAppService::~PhotoAppService() {
    shutdown();
}

void PhotoAppService::shutdown() {
    importer.shutdown();
}

bool PhotoAppService::registerOn(QDBusConnection bus, QString* error) {
    for (const char* path :
         {PhotoAppWire::kApplicationPath, "/albums", "/photos", "/keywords", PhotoAppWire::kControlPath}) {
        if (!bus.registerVirtualObject(QString::fromLatin1(path), this, QDBusConnection::SubPath)) {
            *error = QStringLiteral("cannot register the object %1: %2")
                         .arg(QLatin1StringView(path), bus.lastError().message());
            return false;
        }
    }
    if (!bus.registerService(QString::fromLatin1(PhotoAppWire::kService))) {
        *error =
            QStringLiteral("the name %1 is already owned on the session bus: another photo application is "
                           "serving")
                .arg(QLatin1StringView(PhotoAppWire::kService));
        return false;
    }
    return true;
}

bool PhotoAppService::handleMessage(const QDBusMessage& m, const QDBusConnection& connection) {
    if (m.type() != QDBusMessage::MethodCallMessage)
        return false;
    const QString path = m.path();
    QDBusMessage reply;
    if (m.interface() == QLatin1StringView(kIntrospectableInterface) &&
        m.member() == QLatin1StringView("Introspect"))
        reply = m.createReply(QString::fromLatin1(kIntrospectHeader) + introspect(path) +
                              QStringLiteral("</node>\n"));
    else if (path == QLatin1StringView(PhotoAppWire::kApplicationPath))
        reply = application(m);
    else if (path == QLatin1StringView(PhotoAppWire::kControlPath))
        reply = control(m);
    else if (path.startsWith(QLatin1StringView(PhotoAppWire::kPhotoPathPrefix)))
        reply = photoRequest(m, idIn(path, PhotoAppWire::kPhotoPathPrefix));
    else if (path.startsWith(QLatin1StringView(PhotoAppWire::kAlbumPathPrefix)))
        reply = albumRequest(m, idIn(path, PhotoAppWire::kAlbumPathPrefix));
    else if (path.startsWith(QLatin1StringView(PhotoAppWire::kKeywordPathPrefix)))
        reply = keywordRequest(m, idIn(path, PhotoAppWire::kKeywordPathPrefix));
    else
        reply = noSuchObject(m);
    connection.send(reply);
    return true;
}

QString PhotoAppService::introspect(const QString& path) const {
    if (path == QLatin1StringView(PhotoAppWire::kApplicationPath))
        return QString::fromLatin1(kApplicationXml);
    if (path == QLatin1StringView(PhotoAppWire::kControlPath))
        return QString::fromLatin1(kControlXml);
    if (idIn(path, PhotoAppWire::kPhotoPathPrefix) > 0)
        return QString::fromLatin1(kPhotoXml);
    if (idIn(path, PhotoAppWire::kAlbumPathPrefix) > 0)
        return QString::fromLatin1(kAlbumXml);
    if (idIn(path, PhotoAppWire::kKeywordPathPrefix) > 0)
        return QString::fromLatin1(kKeywordXml);
    return {};
}

QDBusMessage PhotoAppService::application(const QDBusMessage& m) {
    const char* const iface = PhotoAppWire::kApplicationInterface;
    if (is(m, iface, "Ping"))
        return m.createReply();
    if (is(m, iface, "Version")) {
        if (const auto e = catalogue->versionError())
            return m.createErrorReply(e->name, e->message);
        return m.createReply(versionText);
    }
    if (is(m, iface, "Selection")) {
        QList<QDBusObjectPath> paths;
        for (const Catalogue::SelectionItem& item : catalogue->selection())
            paths.append(pathOf(item));
        return m.createReply(pathList(paths));
    }
    if (is(m, iface, "PhotoLibraryAlbum"))
        return m.createReply(
            QVariant::fromValue(QDBusObjectPath(PhotoAppWire::albumPath(catalogue->libraryAlbumId()))));
    if (is(m, iface, "TrashAlbum"))
        return m.createReply(
            QVariant::fromValue(QDBusObjectPath(PhotoAppWire::albumPath(catalogue->trashAlbumId()))));
    if (is(m, iface, "Albums")) {
        QList<QDBusObjectPath> paths;
        for (const Catalogue::Album& a : catalogue->albums())
            paths.append(QDBusObjectPath(PhotoAppWire::albumPath(a.id)));
        return m.createReply(pathList(paths));
    }
    if (is(m, iface, "Keywords")) {
        QList<QDBusObjectPath> paths;
        for (const Catalogue::Keyword& k : catalogue->keywords())
            paths.append(QDBusObjectPath(PhotoAppWire::keywordPath(k.id)));
        return m.createReply(pathList(paths));
    }
    if (is(m, iface, "Importing"))
        return m.createReply(importer.importing());
    if (is(m, iface, "NewAlbum")) {
        if (m.signature() != QLatin1StringView("s"))
            return badArguments(m, "s");
        const qint64 id =
            catalogue->createAlbum(m.arguments().constFirst().toString(), PhotoAppWire::kAlbumTypePlain);
        if (id == 0)
            return failed(m, catalogue->lastError());
        return m.createReply(QVariant::fromValue(QDBusObjectPath(PhotoAppWire::albumPath(id))));
    }
    if (is(m, iface, "AssignKeyword")) {
        if (m.signature() != QLatin1StringView("s"))
            return badArguments(m, "s");
        const std::optional<qint64> keyword = catalogue->keywordId(m.arguments().constFirst().toString());
        if (!keyword)
            return m.createReply(false);
        Catalogue::Transaction t(*catalogue);
        for (const Catalogue::SelectionItem& item : catalogue->selection()) {
            if (item.kind == Catalogue::SelectionItem::Kind::Photo && catalogue->photoExists(item.id))
                catalogue->assignKeyword(item.id, *keyword);
        }
        if (!t.commit())
            return failed(m, catalogue->lastError());
        return m.createReply(true);
    }
    return unknownMethod(m);
}

QDBusMessage PhotoAppService::albumRequest(const QDBusMessage& m, qint64 id) {
    const std::optional<Catalogue::Album> album = id > 0 ? catalogue->album(id) : std::nullopt;
    if (!album)
        return noSuchObject(m);
    const char* const iface = PhotoAppWire::kAlbumInterface;
    if (is(m, iface, "Photos")) {
        QList<QDBusObjectPath> paths;
        const QList<qint64> ids = catalogue->albumPhotoIds(id);
        paths.reserve(ids.size());
        for (const qint64 photoId : ids)
            paths.append(QDBusObjectPath(PhotoAppWire::photoPath(photoId)));
        return m.createReply(pathList(paths));
    }
    if (is(m, iface, "PhotoCount"))
        return m.createReply(catalogue->albumPhotoCount(id));
    if (is(m, iface, "Select")) {
        if (!catalogue->setSelection({{Catalogue::SelectionItem::Kind::Album, id}}))
            return failed(m, catalogue->lastError());
        return m.createReply();
    }
    if (is(m, iface, "Name"))
        return m.createReply(album->name);
    if (is(m, iface, "Type"))
        return m.createReply(album->type);
    if (is(m, iface, "ImportFrom")) {
        if (m.signature() != QLatin1StringView("sb"))
            return badArguments(m, "sb");
        // Files are always copied into the library, whatever forceCopy says: a library that
        // referenced files outside itself would lose them when they move.
        const QString source = m.arguments().at(0).toString();
        if (source.isEmpty() || !QFileInfo::exists(source)) {
            PhotoAppLog::line(QStringLiteral("nothing to import at %1").arg(source));
            return m.createReply(false);
        }
        importer.enqueue(source, id);
        return m.createReply(true);
    }
    return unknownMethod(m);
}

QDBusMessage PhotoAppService::photoRequest(const QDBusMessage& m, qint64 id) {
    const char* const iface = PhotoAppWire::kPhotoInterface;
    if (is(m, iface, "Properties")) {
        const auto found = id > 0 ? catalogue->photoWithFaults(id) : std::nullopt;
        if (!found)
            return noSuchObject(m);
        const Catalogue::Photo* const photo = &found->first;
        const Catalogue::PhotoFaults& faults = found->second;
        if (faults.failProperties)
            return failed(m, QStringLiteral("The properties of photo %1 cannot be read").arg(id));
        QVariantMap values;
        values.insert(QString::fromLatin1(PhotoAppWire::kImageFilename), photo->imageFilename);
        values.insert(QString::fromLatin1(PhotoAppWire::kImagePath), photo->imagePath);
        values.insert(QString::fromLatin1(PhotoAppWire::kOriginalPath), photo->originalPath);
        values.insert(QString::fromLatin1(PhotoAppWire::kDate), photo->dateMs);
        values.insert(QString::fromLatin1(PhotoAppWire::kId), photo->id);
        values.insert(QString::fromLatin1(PhotoAppWire::kHeight), photo->height);
        values.insert(QString::fromLatin1(PhotoAppWire::kWidth), photo->width);
        QStringList nullKeys;
        for (const QString& key : faults.nullKeys) {
            values.remove(key);
            nullKeys.append(key);
        }
        for (const QString& key : faults.absentKeys) {
            values.remove(key);
            nullKeys.removeAll(key);
        }
        return m.createReply(QVariantList{values, nullKeys});
    }
    if (id <= 0 || !catalogue->photoExists(id))
        return noSuchObject(m);
    if (is(m, iface, "Select")) {
        if (!catalogue->setSelection({{Catalogue::SelectionItem::Kind::Photo, id}}))
            return failed(m, catalogue->lastError());
        return m.createReply();
    }
    if (is(m, iface, "RemoveFrom")) {
        if (m.signature() != QLatin1StringView("o"))
            return badArguments(m, "o");
        const qint64 albumId =
            idIn(m.arguments().constFirst().value<QDBusObjectPath>().path(), PhotoAppWire::kAlbumPathPrefix);
        if (albumId <= 0 || !catalogue->album(albumId))
            return m.createReply(false);
        if (albumId == catalogue->libraryAlbumId())
            return m.createReply(catalogue->moveToTrash(id));
        if (albumId == catalogue->trashAlbumId())
            return m.createReply(false); // the trash lets go of a photo only when emptied
        return m.createReply(catalogue->removeFromAlbum(albumId, id));
    }
    return unknownMethod(m);
}

QDBusMessage PhotoAppService::keywordRequest(const QDBusMessage& m, qint64 id) {
    const std::optional<Catalogue::Keyword> keyword = id > 0 ? catalogue->keyword(id) : std::nullopt;
    if (!keyword)
        return noSuchObject(m);
    if (is(m, PhotoAppWire::kKeywordInterface, "Name"))
        return m.createReply(keyword->name);
    return unknownMethod(m);
}

QDBusMessage PhotoAppService::control(const QDBusMessage& m) {
    const char* const iface = PhotoAppWire::kControlInterface;
    const QList<QVariant> args = m.arguments();
    auto ok = [&](bool done) {
        return done ? m.createReply() : failed(m, catalogue->lastError());
    };
    if (is(m, iface, "SelectItems")) {
        if (m.signature() != QLatin1StringView("ao"))
            return badArguments(m, "ao");
        QList<QDBusObjectPath> paths;
        args.constFirst().value<QDBusArgument>() >> paths;
        QList<Catalogue::SelectionItem> items;
        for (const QDBusObjectPath& p : paths) {
            if (const qint64 photo = idIn(p.path(), PhotoAppWire::kPhotoPathPrefix); photo > 0)
                items.append({Catalogue::SelectionItem::Kind::Photo, photo});
            else if (const qint64 album = idIn(p.path(), PhotoAppWire::kAlbumPathPrefix); album > 0)
                items.append({Catalogue::SelectionItem::Kind::Album, album});
            else
                return m.createErrorReply(QString::fromLatin1(kErrorInvalidArgs),
                                          QStringLiteral("%1 is neither a photo nor an album").arg(p.path()));
        }
        return ok(catalogue->setSelection(items));
    }
    if (is(m, iface, "AddKeyword")) {
        if (m.signature() != QLatin1StringView("s") || args.constFirst().toString().isEmpty())
            return badArguments(m, "s");
        const qint64 id = catalogue->ensureKeyword(args.constFirst().toString());
        if (id == 0)
            return failed(m, catalogue->lastError());
        return m.createReply(QVariant::fromValue(QDBusObjectPath(PhotoAppWire::keywordPath(id))));
    }
    if (is(m, iface, "EditPhoto")) {
        if (m.signature() != QLatin1StringView("x"))
            return badArguments(m, "x");
        QString error;
        const QString edited =
            PhotoEditor::makeEditedVersion(*catalogue, args.constFirst().toLongLong(), &error);
        return edited.isEmpty() ? failed(m, error) : m.createReply(edited);
    }
    if (is(m, iface, "SetNullKey") || is(m, iface, "SetAbsentKey")) {
        if (m.signature() != QLatin1StringView("xs") || !PropertyKeys::isKnown(args.at(1).toString()))
            return badArguments(m, "xs, the second a property key");
        return ok(catalogue->setKeyFault(args.at(0).toLongLong(), args.at(1).toString(),
                                         m.member() == QLatin1StringView("SetAbsentKey")));
    }
    if (is(m, iface, "FailProperties")) {
        if (m.signature() != QLatin1StringView("x"))
            return badArguments(m, "x");
        return ok(catalogue->setFailProperties(args.constFirst().toLongLong()));
    }
    if (is(m, iface, "SetVersionError")) {
        if (m.signature() != QLatin1StringView("ss") || !DBusNames::isValidErrorName(args.at(0).toString()))
            return badArguments(m, "ss, the first a D-Bus error name");
        return ok(catalogue->setVersionError(args.at(0).toString(), args.at(1).toString()));
    }
    if (is(m, iface, "SetImportDelay")) {
        if (m.signature() != QLatin1StringView("i") || args.constFirst().toInt() < 0)
            return badArguments(m, "i, not negative");
        return ok(catalogue->setImportDelayMs(args.constFirst().toInt()));
    }
    if (is(m, iface, "ClearFaults"))
        return ok(catalogue->clearFaults());
    return unknownMethod(m);
}
