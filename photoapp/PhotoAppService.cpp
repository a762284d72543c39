/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "photoapp/PhotoAppService.h"

#include "photoapp/DBusNames.h"
#include "photoapp/ImportSources.h"
#include "photoapp/KeywordRules.h"
#include "photoapp/Log.h"
#include "photoapp/PhotoEditor.h"
#include "photoapp/PropertyAnswer.h"
#include "photoapp/PropertyKeys.h"
#include "photoapp/ServiceInterfaces.h"
#include "wire/PhotoAppWire.h"

#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDir>

namespace {

using ServiceInterfaces::Kind;

constexpr auto kErrorInvalidArgs = "org.freedesktop.DBus.Error.InvalidArgs";
constexpr auto kErrorUnknownMethod = "org.freedesktop.DBus.Error.UnknownMethod";
constexpr auto kIntrospectableInterface = "org.freedesktop.DBus.Introspectable";
constexpr auto kIntrospectHeader =
    "<!DOCTYPE node PUBLIC \"-//freedesktop//DTD D-BUS Object Introspection 1.0//EN\"\n"
    " \"http://www.freedesktop.org/standards/dbus/1.0/introspect.dtd\">\n<node>\n"
    "  <interface name=\"org.freedesktop.DBus.Introspectable\">\n"
    "    <method name=\"Introspect\"><arg direction=\"out\" type=\"s\"/></method>\n  </interface>\n";

// Where the service's objects live; each path answers for everything below it.
constexpr const char* kObjectTrees[] = {PhotoAppWire::kApplicationPath, "/albums", "/photos", "/keywords",
                                        PhotoAppWire::kControlPath};

QDBusObjectPath pathOf(const Catalogue::SelectionItem& item) {
    return QDBusObjectPath(item.kind == Catalogue::SelectionItem::Kind::Album
                               ? PhotoAppWire::albumPath(item.id)
                               : PhotoAppWire::photoPath(item.id));
}

QVariant pathList(const QList<QDBusObjectPath>& paths) {
    return QVariant::fromValue(paths);
}

QDBusMessage noSuchObject(const QDBusMessage& m, const QString& what) {
    return m.createErrorReply(QString::fromLatin1(PhotoAppWire::kErrorNoSuchObject),
                              QStringLiteral("No %1").arg(what));
}

QDBusMessage noSuchPhoto(const QDBusMessage& m, qint64 id) {
    return noSuchObject(m, QStringLiteral("photo with id %1").arg(id));
}

QDBusMessage invalidArgs(const QDBusMessage& m, const QString& why) {
    return m.createErrorReply(QString::fromLatin1(kErrorInvalidArgs),
                              QStringLiteral("%1: %2").arg(m.member(), why));
}

QDBusMessage unknownMethod(const QDBusMessage& m) {
    return m.createErrorReply(
        QString::fromLatin1(kErrorUnknownMethod),
        QStringLiteral("No method %1.%2 at %3").arg(m.interface(), m.member(), m.path()));
}

QDBusMessage failed(const QDBusMessage& m, const QString& why) {
    return m.createErrorReply(QString::fromLatin1(PhotoAppWire::kErrorFailed), why);
}

bool holdsNul(const QDBusMessage& m) {
    for (const QVariant& argument : m.arguments()) {
        if (argument.metaType() == QMetaType::fromType<QString>() && argument.toString().contains(QChar(0)))
            return true;
    }
    return false;
}

// A request for `member` of the object's interface; one that names no interface names any.
bool is(const QDBusMessage& m, const char* member) {
    return m.member() == QLatin1StringView(member);
}

} // namespace

PhotoAppService::PhotoAppService(std::unique_ptr<Catalogue> c, QString version, QObject* parent)
    : QDBusVirtualObject(parent), catalogue(std::move(c)), versionText(std::move(version)),
      importer(catalogue->library(), [this](const Importer::Result& r) { announce(r); }) {
    qDBusRegisterMetaType<QList<QDBusObjectPath>>();
    qDBusRegisterMetaType<ImportRefusal>();
    qDBusRegisterMetaType<QList<ImportRefusal>>();
    qDBusRegisterMetaType<PropertyAnswer>();
}

PhotoAppService::~PhotoAppService() {
    shutdown();
}

void PhotoAppService::shutdown() {
    importer.shutdown();
}

bool PhotoAppService::registerOn(QDBusConnection connection, QString* error) {
    bus = connection;
    for (const char* path : kObjectTrees) {
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

void PhotoAppService::unregisterFrom(QDBusConnection connection) {
    for (const char* path : kObjectTrees)
        connection.unregisterObject(QString::fromLatin1(path));
}

// Called on the import thread; QDBusConnection may send from any thread.
void PhotoAppService::announce(const Importer::Result& result) {
    QDBusMessage signal =
        QDBusMessage::createSignal(QString::fromLatin1(PhotoAppWire::kApplicationPath),
                                   QString::fromLatin1(PhotoAppWire::kApplicationInterface),
                                   QString::fromLatin1(PhotoAppWire::kImportFinishedSignal));
    signal << result.imported << QVariant::fromValue(result.refused);
    bus.send(signal);
}

bool PhotoAppService::handleMessage(const QDBusMessage& m, const QDBusConnection& connection) {
    if (m.type() != QDBusMessage::MethodCallMessage)
        return false;
    connection.send(answer(m));
    return true;
}

QDBusMessage PhotoAppService::answer(const QDBusMessage& m) {
    if (m.interface() == QLatin1StringView(kIntrospectableInterface) && is(m, "Introspect")) {
        if (!m.signature().isEmpty())
            return invalidArgs(m, QStringLiteral("takes no arguments"));
        return m.createReply(QString::fromLatin1(kIntrospectHeader) + introspect(m.path()) +
                             QStringLiteral("</node>\n"));
    }
    const ServiceInterfaces::Object object = ServiceInterfaces::objectAt(m.path());
    if (object.kind == Kind::None)
        return noSuchObject(m, QStringLiteral("object at %1").arg(m.path()));
    const std::optional<QString> expected = ServiceInterfaces::inSignature(object.kind, m.member());
    if (!expected ||
        (!m.interface().isEmpty() && m.interface() != ServiceInterfaces::interfaceOf(object.kind)))
        return unknownMethod(m);
    // Extra arguments are refused too: a caller that sends them means something this service
    // does not do, and acting on the rest would do something else.
    if (m.signature() != *expected)
        return invalidArgs(m, QStringLiteral("takes (%1), not (%2)").arg(*expected, m.signature()));
    if (holdsNul(m))
        return invalidArgs(m, QStringLiteral("a text holds a NUL character"));
    switch (object.kind) {
    case Kind::Application:
        return application(m);
    case Kind::Album:
        return albumRequest(m, object.id);
    case Kind::Photo:
        return photoRequest(m, object.id);
    case Kind::Keyword:
        return keywordRequest(m, object.id);
    case Kind::Control:
        return control(m);
    case Kind::None:
        break;
    }
    return unknownMethod(m);
}

QString PhotoAppService::introspect(const QString& path) const {
    const ServiceInterfaces::Object object = ServiceInterfaces::objectAt(path);
    return object.kind == Kind::None ? QString() : ServiceInterfaces::introspectionXml(object.kind);
}

QDBusMessage PhotoAppService::application(const QDBusMessage& m) {
    if (is(m, "Ping"))
        return m.createReply();
    if (is(m, "Version")) {
        if (const auto e = catalogue->versionError())
            return m.createErrorReply(e->name, e->message);
        return m.createReply(versionText);
    }
    if (is(m, "Selection")) {
        QList<QDBusObjectPath> paths;
        for (const Catalogue::SelectionItem& item : catalogue->selection())
            paths.append(pathOf(item));
        return m.createReply(pathList(paths));
    }
    if (is(m, "PhotoLibraryAlbum"))
        return m.createReply(
            QVariant::fromValue(QDBusObjectPath(PhotoAppWire::albumPath(catalogue->libraryAlbumId()))));
    if (is(m, "TrashAlbum"))
        return m.createReply(
            QVariant::fromValue(QDBusObjectPath(PhotoAppWire::albumPath(catalogue->trashAlbumId()))));
    if (is(m, "Albums")) {
        QList<QDBusObjectPath> paths;
        for (const Catalogue::Album& a : catalogue->albums())
            paths.append(QDBusObjectPath(PhotoAppWire::albumPath(a.id)));
        return m.createReply(pathList(paths));
    }
    if (is(m, "Keywords") || is(m, "KeywordNames")) {
        QList<QDBusObjectPath> paths;
        QStringList names;
        for (const Catalogue::Keyword& k : catalogue->keywords()) {
            paths.append(QDBusObjectPath(PhotoAppWire::keywordPath(k.id)));
            names.append(k.name);
        }
        return is(m, "Keywords") ? m.createReply(pathList(paths)) : m.createReply(names);
    }
    if (is(m, "Importing"))
        return m.createReply(importer.importing());
    if (is(m, "LibraryPath"))
        return m.createReply(catalogue->library().root());
    if (is(m, "ReferencedPaths")) {
        const std::optional<QList<bool>> referenced =
            catalogue->referencedAmong(m.arguments().constFirst().toStringList());
        if (!referenced)
            return failed(m, catalogue->lastError());
        return m.createReply(QVariant::fromValue(*referenced));
    }
    if (is(m, "LastImport")) {
        const Importer::Result last = importer.lastResult();
        return m.createReply(QVariantList{last.imported, QVariant::fromValue(last.refused)});
    }
    if (is(m, "NewAlbum")) {
        const qint64 id =
            catalogue->createAlbum(m.arguments().constFirst().toString(), PhotoAppWire::kAlbumTypePlain);
        if (id == 0)
            return failed(m, catalogue->lastError());
        return m.createReply(QVariant::fromValue(QDBusObjectPath(PhotoAppWire::albumPath(id))));
    }
    if (is(m, "AssignKeyword")) {
        const std::optional<qint64> keyword = catalogue->keywordId(m.arguments().constFirst().toString());
        if (!keyword)
            return m.createReply(false);
        const QList<Catalogue::SelectionItem> selection = catalogue->selection();
        for (const Catalogue::SelectionItem& item : selection) {
            if (item.kind == Catalogue::SelectionItem::Kind::Photo && catalogue->refusesChanges(item.id))
                return failed(m, QStringLiteral("photo %1 refuses changes").arg(item.id));
        }
        Catalogue::Transaction t(*catalogue);
        for (const Catalogue::SelectionItem& item : selection) {
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
    const std::optional<Catalogue::Album> album = catalogue->album(id);
    if (!album)
        return noSuchObject(m, QStringLiteral("album with id %1").arg(id));
    if (is(m, "Photos")) {
        QList<QDBusObjectPath> paths;
        const QList<qint64> ids = catalogue->albumPhotoIds(id);
        paths.reserve(ids.size());
        for (const qint64 photoId : ids)
            paths.append(QDBusObjectPath(PhotoAppWire::photoPath(photoId)));
        return m.createReply(pathList(paths));
    }
    if (is(m, "PhotoCount"))
        return m.createReply(catalogue->albumPhotoCount(id));
    if (is(m, "Select")) {
        if (!catalogue->setSelection({{Catalogue::SelectionItem::Kind::Album, id}}))
            return failed(m, catalogue->lastError());
        return m.createReply();
    }
    if (is(m, "Name"))
        return m.createReply(album->name);
    if (is(m, "Type"))
        return m.createReply(album->type);
    if (is(m, "ImportFrom")) {
        // Files are always copied into the library, whatever forceCopy says: a library that
        // referenced files outside itself would lose them when they move.
        const QString source = m.arguments().at(0).toString();
        // Relative to what? The service's working folder means nothing to its caller.
        if (!QDir::isAbsolutePath(source))
            return invalidArgs(
                m, QStringLiteral("takes an absolute path, not \"%1\"").arg(PhotoAppLog::shortened(source)));
        // A photo imported "into" the trash would sit in the library and the trash at once, and a
        // smart album's photos are whatever its rule finds: neither takes imports.
        if (album->type != PhotoAppWire::kAlbumTypePlain && album->type != PhotoAppWire::kAlbumTypeLibrary) {
            PhotoAppLog::line(QStringLiteral("the album %1 takes no imports").arg(album->name));
            return m.createReply(false);
        }
        if (const QString why = ImportSources::refusalOfPath(source); !why.isEmpty()) {
            PhotoAppLog::line(
                QStringLiteral("nothing to import at %1: %2").arg(PhotoAppLog::shortened(source), why));
            return m.createReply(false);
        }
        importer.enqueue(source, id);
        return m.createReply(true);
    }
    return unknownMethod(m);
}

QDBusMessage PhotoAppService::photoRequest(const QDBusMessage& m, qint64 id) {
    if (is(m, "Properties")) {
        auto found = catalogue->photoWithFaults(id);
        if (!found)
            return noSuchPhoto(m, id);
        const Catalogue::PhotoFaults& faults = found->second;
        if (faults.failProperties)
            return failed(m, QStringLiteral("The properties of photo %1 cannot be read").arg(id));
        PropertyAnswer answer{std::move(found->first), faults.nullKeys, faults.absentKeys};
        const QStringList missing = answer.missingValues();
        return m.createReply(QVariantList{QVariant::fromValue(std::move(answer)), missing});
    }
    if (!catalogue->photoExists(id))
        return noSuchPhoto(m, id);
    if (is(m, "Select")) {
        if (!catalogue->setSelection({{Catalogue::SelectionItem::Kind::Photo, id}}))
            return failed(m, catalogue->lastError());
        return m.createReply();
    }
    if (is(m, "RemoveFrom")) {
        const ServiceInterfaces::Object target =
            ServiceInterfaces::objectAt(m.arguments().constFirst().value<QDBusObjectPath>().path());
        if (target.kind != Kind::Album || !catalogue->album(target.id))
            return m.createReply(false);
        if (catalogue->refusesChanges(id))
            return failed(m, QStringLiteral("photo %1 refuses changes").arg(id));
        if (target.id == catalogue->libraryAlbumId())
            return m.createReply(catalogue->moveToTrash(id));
        if (target.id == catalogue->trashAlbumId())
            return m.createReply(false); // the trash lets go of a photo only when emptied
        return m.createReply(catalogue->removeFromAlbum(target.id, id));
    }
    return unknownMethod(m);
}

QDBusMessage PhotoAppService::keywordRequest(const QDBusMessage& m, qint64 id) {
    const std::optional<Catalogue::Keyword> keyword = catalogue->keyword(id);
    if (!keyword)
        return noSuchObject(m, QStringLiteral("keyword with id %1").arg(id));
    if (is(m, "Name"))
        return m.createReply(keyword->name);
    return unknownMethod(m);
}

QDBusMessage PhotoAppService::control(const QDBusMessage& m) {
    const QList<QVariant> args = m.arguments();
    auto ok = [&](bool done) {
        return done ? m.createReply() : failed(m, catalogue->lastError());
    };
    if (is(m, "SelectItems")) {
        QList<QDBusObjectPath> paths;
        args.constFirst().value<QDBusArgument>() >> paths;
        QList<Catalogue::SelectionItem> items;
        for (const QDBusObjectPath& p : paths) {
            const ServiceInterfaces::Object item = ServiceInterfaces::objectAt(p.path());
            if (item.kind == Kind::Photo && catalogue->photoExists(item.id))
                items.append({Catalogue::SelectionItem::Kind::Photo, item.id});
            else if (item.kind == Kind::Album && catalogue->album(item.id))
                items.append({Catalogue::SelectionItem::Kind::Album, item.id});
            else if (item.kind == Kind::Photo || item.kind == Kind::Album)
                return noSuchObject(m, QStringLiteral("object at %1").arg(p.path()));
            else
                return invalidArgs(m, QStringLiteral("%1 is neither a photo nor an album").arg(p.path()));
        }
        return ok(catalogue->setSelection(items));
    }
    if (is(m, "AddKeyword")) {
        const QString name = args.constFirst().toString();
        if (const QString why = KeywordRules::refusal(name); !why.isEmpty())
            return invalidArgs(m, QStringLiteral("a keyword name cannot be %1").arg(why));
        const qint64 id = catalogue->ensureKeyword(name);
        if (id == 0)
            return failed(m, catalogue->lastError());
        return m.createReply(QVariant::fromValue(QDBusObjectPath(PhotoAppWire::keywordPath(id))));
    }
    if (is(m, "ClearFaults"))
        return ok(catalogue->clearFaults());
    if (is(m, "SetVersionError")) {
        if (!DBusNames::isValidErrorName(args.at(0).toString()))
            return invalidArgs(m, QStringLiteral("%1 is not a D-Bus error name").arg(args.at(0).toString()));
        return ok(catalogue->setVersionError(args.at(0).toString(), args.at(1).toString()));
    }
    if (is(m, "SetImportDelay")) {
        if (args.constFirst().toInt() < 0)
            return invalidArgs(m, QStringLiteral("a delay cannot be negative"));
        return ok(catalogue->setImportDelayMs(args.constFirst().toInt()));
    }
    // The rest name a photo: a fault set on an id that does not exist yet would befall whichever
    // photo gets that id next.
    const qint64 photoId = args.value(0).toLongLong();
    if (is(m, "SetNullKey") || is(m, "SetAbsentKey")) {
        if (!PropertyKeys::isKnown(args.at(1).toString()))
            return invalidArgs(m, QStringLiteral("%1 is not a property key").arg(args.at(1).toString()));
    }
    if (!catalogue->photoExists(photoId))
        return noSuchPhoto(m, photoId);
    if (is(m, "EditPhoto")) {
        QString error;
        const QString edited = PhotoEditor::makeEditedVersion(*catalogue, photoId, &error);
        return edited.isEmpty() ? failed(m, error) : m.createReply(edited);
    }
    if (is(m, "SetNullKey") || is(m, "SetAbsentKey"))
        return ok(catalogue->setKeyFault(photoId, args.at(1).toString(), is(m, "SetAbsentKey")));
    if (is(m, "FailProperties"))
        return ok(catalogue->setFailProperties(photoId));
    if (is(m, "RefuseChanges"))
        return ok(catalogue->setRefuseChanges(photoId));
    return unknownMethod(m);
}
