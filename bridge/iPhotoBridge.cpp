#include "bridge/iPhotoBridge.h"

#include "bridge/PhotoAppWire.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDateTime>

class iPhotoConnection {
public:
    iPhotoConnection(QDBusConnection b, QString s, int t)
        : bus(std::move(b)), service(std::move(s)), timeoutMs(t) {}

    // One bounded request. On failure the reply is an error message; callers answer nothing.
    QDBusMessage call(const QString& path, const char* interface, const char* method,
                      const QList<QVariant>& args = {}) const {
        QDBusMessage msg = QDBusMessage::createMethodCall(service, path, QString::fromLatin1(interface),
                                                          QString::fromLatin1(method));
        if (!args.isEmpty())
            msg.setArguments(args);
        return bus.call(msg, QDBus::Block, timeoutMs);
    }

    QDBusMessage callApplication(const char* method, const QList<QVariant>& args = {}) const {
        return call(QString::fromLatin1(PhotoAppWire::kApplicationPath), PhotoAppWire::kApplicationInterface,
                    method, args);
    }

    QDBusConnection bus;
    QString service;
    int timeoutMs;
};

namespace {

bool ok(const QDBusMessage& reply) {
    return reply.type() == QDBusMessage::ReplyMessage;
}

// Ids from object paths such as "/photos/42"; -1 when the path is not of that kind.
qint64 idFromPath(const QString& path, const char* prefix) {
    const QLatin1StringView p(prefix);
    if (!path.startsWith(p))
        return -1;
    bool good = false;
    const qint64 id = QStringView(path).mid(p.size()).toLongLong(&good);
    return good ? id : -1;
}

QList<QString> pathsOf(const QDBusMessage& reply) {
    QList<QString> result;
    if (!ok(reply) || reply.arguments().isEmpty())
        return result;
    const QVariant first = reply.arguments().constFirst();
    if (first.canConvert<QDBusArgument>()) {
        const QDBusArgument arg = first.value<QDBusArgument>();
        QList<QDBusObjectPath> paths;
        arg >> paths;
        result.reserve(paths.size());
        for (const QDBusObjectPath& p : paths)
            result.append(p.path());
    } else if (first.metaType() == QMetaType::fromType<QList<QDBusObjectPath>>()) {
        for (const QDBusObjectPath& p : first.value<QList<QDBusObjectPath>>())
            result.append(p.path());
    }
    return result;
}

QString pathOf(const QDBusMessage& reply) {
    if (!ok(reply) || reply.arguments().isEmpty())
        return {};
    return reply.arguments().constFirst().value<QDBusObjectPath>().path();
}

template <typename T> T firstAs(const QDBusMessage& reply, T fallback) {
    if (!ok(reply) || reply.arguments().isEmpty())
        return fallback;
    const QVariant v = reply.arguments().constFirst();
    if (!v.canConvert<T>())
        return fallback;
    return v.value<T>();
}

} // namespace

// ---- keyword ----

QString iPhotoKeyword::name() const {
    if (!connection)
        return {};
    return firstAs<QString>(
        connection->call(PhotoAppWire::keywordPath(objectId), PhotoAppWire::kKeywordInterface, "Name"), {});
}

// ---- photo ----

bool iPhotoPhoto::properties(QVariantMap& out) const {
    out.clear();
    if (!connection)
        return false;
    const QDBusMessage reply =
        connection->call(PhotoAppWire::photoPath(objectId), PhotoAppWire::kPhotoInterface, "Properties");
    const QList<QVariant> args = reply.arguments();
    if (!ok(reply) || args.size() < 2 || !args.at(0).canConvert<QDBusArgument>())
        return false;

    // Read the dictionary straight into the answer: this runs once per photo of every scan.
    const QDBusArgument values = args.at(0).value<QDBusArgument>();
    values.beginMap();
    while (!values.atEnd()) {
        QString key;
        QDBusVariant value;
        values.beginMapEntry();
        values >> key >> value;
        values.endMapEntry();
        if (key == QLatin1StringView(PhotoAppWire::kDate))
            out.insert(key,
                       QDateTime::fromMSecsSinceEpoch(value.variant().toLongLong(), Qt::UTC).toLocalTime());
        else
            out.insert(key, value.variant());
    }
    values.endMap();
    for (const QString& key : args.at(1).toStringList())
        out.insert(key, nullMarker());
    return true;
}

QVariantMap iPhotoPhoto::properties() const {
    QVariantMap out;
    properties(out);
    return out;
}

void iPhotoPhoto::select() const {
    if (connection)
        connection->call(PhotoAppWire::photoPath(objectId), PhotoAppWire::kPhotoInterface, "Select");
}

bool iPhotoPhoto::removeFrom(const iPhotoAlbum& album) const {
    if (!connection || !album.isValid())
        return false;
    return firstAs<bool>(
        connection->call(PhotoAppWire::photoPath(objectId), PhotoAppWire::kPhotoInterface, "RemoveFrom",
                         {QVariant::fromValue(QDBusObjectPath(PhotoAppWire::albumPath(album.id())))}),
        false);
}

// ---- album ----

QList<iPhotoPhoto> iPhotoAlbum::photos() const {
    QList<iPhotoPhoto> result;
    if (!connection)
        return result;
    const QList<QString> paths =
        pathsOf(connection->call(PhotoAppWire::albumPath(objectId), PhotoAppWire::kAlbumInterface, "Photos"));
    result.reserve(paths.size());
    for (const QString& p : paths) {
        const qint64 id = idFromPath(p, PhotoAppWire::kPhotoPathPrefix);
        if (id >= 0)
            result.append(iPhotoPhoto(connection, id));
    }
    return result;
}

qint64 iPhotoAlbum::photoCount() const {
    if (!connection)
        return 0;
    return firstAs<qint64>(
        connection->call(PhotoAppWire::albumPath(objectId), PhotoAppWire::kAlbumInterface, "PhotoCount"), 0);
}

void iPhotoAlbum::select() const {
    if (connection)
        connection->call(PhotoAppWire::albumPath(objectId), PhotoAppWire::kAlbumInterface, "Select");
}

QString iPhotoAlbum::name() const {
    if (!connection)
        return {};
    return firstAs<QString>(
        connection->call(PhotoAppWire::albumPath(objectId), PhotoAppWire::kAlbumInterface, "Name"), {});
}

quint32 iPhotoAlbum::type() const {
    if (!connection)
        return 0;
    return firstAs<quint32>(
        connection->call(PhotoAppWire::albumPath(objectId), PhotoAppWire::kAlbumInterface, "Type"), 0);
}

bool iPhotoAlbum::importFrom(const QString& path, bool forceCopy) const {
    if (!connection)
        return false;
    return firstAs<bool>(connection->call(PhotoAppWire::albumPath(objectId), PhotoAppWire::kAlbumInterface,
                                          "ImportFrom", {path, forceCopy}),
                         false);
}

// ---- application ----

std::shared_ptr<iPhotoApplication>
iPhotoApplication::applicationWithBundleIdentifier(const QString& identifier) {
    return std::make_shared<iPhotoApplication>(QDBusConnection::sessionBus(), identifier);
}

iPhotoApplication::iPhotoApplication(const QDBusConnection& bus, const QString& service, int timeoutMs)
    : connection(std::make_shared<const iPhotoConnection>(bus, service, timeoutMs)) {
    qDBusRegisterMetaType<QList<QDBusObjectPath>>();
}

bool iPhotoApplication::isRunning() const {
    if (!connection->bus.isConnected())
        return false;
    const QDBusMessage msg = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"));
    QDBusMessage withArgs = msg;
    withArgs.setArguments({connection->service});
    return firstAs<bool>(connection->bus.call(withArgs, QDBus::Block, connection->timeoutMs), false);
}

QString iPhotoApplication::version() const {
    const QDBusMessage reply = connection->callApplication("Version");
    if (!ok(reply))
        throw BridgeError{reply.errorName(), reply.errorMessage()};
    if (reply.arguments().isEmpty())
        throw BridgeError{QString::fromLatin1(PhotoAppWire::kErrorFailed), QStringLiteral("Empty answer")};
    return reply.arguments().constFirst().toString();
}

QList<iPhotoItem> iPhotoApplication::selection() const {
    QList<iPhotoItem> result;
    const QList<QString> paths = pathsOf(connection->callApplication("Selection"));
    for (const QString& p : paths) {
        if (const qint64 id = idFromPath(p, PhotoAppWire::kPhotoPathPrefix); id >= 0)
            result.append(iPhotoItem(iPhotoPhoto(connection, id)));
        else if (const qint64 aid = idFromPath(p, PhotoAppWire::kAlbumPathPrefix); aid >= 0)
            result.append(iPhotoItem(iPhotoAlbum(connection, aid)));
    }
    return result;
}

iPhotoAlbum iPhotoApplication::albumWithId(qint64 id) const {
    return iPhotoAlbum(connection, id);
}
iPhotoPhoto iPhotoApplication::photoWithId(qint64 id) const {
    return iPhotoPhoto(connection, id);
}

iPhotoAlbum iPhotoApplication::albumAnswer(const QDBusMessage& reply) const {
    const qint64 id = idFromPath(pathOf(reply), PhotoAppWire::kAlbumPathPrefix);
    return id >= 0 ? iPhotoAlbum(connection, id) : iPhotoAlbum();
}

iPhotoAlbum iPhotoApplication::photoLibraryAlbum() const {
    return albumAnswer(connection->callApplication("PhotoLibraryAlbum"));
}

iPhotoAlbum iPhotoApplication::trashAlbum() const {
    return albumAnswer(connection->callApplication("TrashAlbum"));
}

QList<iPhotoAlbum> iPhotoApplication::albums() const {
    QList<iPhotoAlbum> result;
    for (const QString& p : pathsOf(connection->callApplication("Albums"))) {
        if (const qint64 id = idFromPath(p, PhotoAppWire::kAlbumPathPrefix); id >= 0)
            result.append(iPhotoAlbum(connection, id));
    }
    return result;
}

iPhotoAlbum iPhotoApplication::newAlbumName(const QString& name) const {
    return albumAnswer(connection->callApplication("NewAlbum", {name}));
}

QList<iPhotoKeyword> iPhotoApplication::keywords() const {
    QList<iPhotoKeyword> result;
    for (const QString& p : pathsOf(connection->callApplication("Keywords"))) {
        if (const qint64 id = idFromPath(p, PhotoAppWire::kKeywordPathPrefix); id >= 0)
            result.append(iPhotoKeyword(connection, id));
    }
    return result;
}

QStringList iPhotoApplication::keywordNames() const {
    return firstAs<QStringList>(connection->callApplication("KeywordNames"), {});
}

bool iPhotoApplication::assignKeywordString(const QString& keyword) const {
    return firstAs<bool>(connection->callApplication("AssignKeyword", {keyword}), false);
}

bool iPhotoApplication::importing() const {
    return firstAs<bool>(connection->callApplication("Importing"), false);
}

bool iPhotoApplication::ping() const {
    return ok(connection->callApplication("Ping"));
}
