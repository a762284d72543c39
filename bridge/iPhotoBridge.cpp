/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "bridge/iPhotoBridge.h"

#include "wire/PhotoAppWire.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMutex>
#include <QThread>
#include <QTimer>
#include <atomic>

// The pinned process of a run and what may cut its requests short.
struct iPhotoSession {
    QString owner; // unique bus name
    QThread* thread = nullptr;
    std::function<bool()> interrupted;
};

class iPhotoConnection {
public:
    iPhotoConnection(QDBusConnection b, QString s, int t)
        : bus(std::move(b)), service(std::move(s)), timeoutMs(t) {}

    // One bounded request. On failure the reply is an error message; callers answer nothing.
    QDBusMessage call(const QString& path, const char* interface, const char* method,
                      const QList<QVariant>& args = {}) const {
        return receive(send(path, interface, method, args));
    }

    // Sends a request without waiting; receive() takes its answer. Requests sent one after the
    // other from the same thread may all be on their way at once.
    QDBusPendingCall send(const QString& path, const char* interface, const char* method,
                          const QList<QVariant>& args = {}) const {
        const std::shared_ptr<const iPhotoSession> pin = pinnedFor(QThread::currentThread());
        if (!pin)
            return bus.asyncCall(message(service, path, interface, method, args), timeoutMs);
        if (lostFlag.load())
            return QDBusPendingCall::fromCompletedCall(lostAnswer());
        // Once a wait was cut short, the requests that follow while the interruption holds are
        // not sent at all: a caller asking many small questions then stops at once too.
        if (interruptedOnce.load() && pin->interrupted && pin->interrupted())
            return QDBusPendingCall::fromCompletedCall(interruptedAnswer());
        return bus.asyncCall(message(pin->owner, path, interface, method, args), timeoutMs);
    }

    // The answer of a request sent by this thread, under the rules of the run it was sent in.
    QDBusMessage receive(QDBusPendingCall pending) const {
        const std::shared_ptr<const iPhotoSession> pin = pinnedFor(QThread::currentThread());
        if (!pin) {
            pending.waitForFinished();
            return pending.reply();
        }
        const QDBusMessage reply = await(std::move(pending), *pin, true);
        // An error the application itself sent proves it alive; anything else may mean it left.
        if (reply.type() != QDBusMessage::ReplyMessage && reply.service() != pin->owner && !isMadeUp(reply))
            confirmAlive(*pin);
        return reply;
    }

    QDBusMessage callApplication(const char* method, const QList<QVariant>& args = {}) const {
        return call(QString::fromLatin1(PhotoAppWire::kApplicationPath), PhotoAppWire::kApplicationInterface,
                    method, args);
    }

    bool attach(std::function<bool()> interrupted) {
        const QString owner = ownerOfName();
        lostFlag.store(false);
        interruptedOnce.store(false);
        QMutexLocker lock(&sessionMutex);
        session.reset();
        if (owner.isEmpty())
            return false;
        session = std::make_shared<const iPhotoSession>(
            iPhotoSession{owner, QThread::currentThread(), std::move(interrupted)});
        nextOwnerCheck.store(0);
        return true;
    }

    void setInterruption(std::function<bool()> interrupted) {
        interruptedOnce.store(false);
        QMutexLocker lock(&sessionMutex);
        if (session)
            session = std::make_shared<const iPhotoSession>(
                iPhotoSession{session->owner, session->thread, std::move(interrupted)});
    }

    void detach() {
        QMutexLocker lock(&sessionMutex);
        session.reset();
    }

    // Called once per photo by passes that send nothing: answers from the flag and the clock
    // until the next owner check is due.
    bool watch() const {
        if (lostFlag.load())
            return false;
        const qint64 now = QDeadlineTimer::current().deadline();
        if (now < nextOwnerCheck.load(std::memory_order_relaxed))
            return true;
        const std::shared_ptr<const iPhotoSession> pin = pinnedFor(QThread::currentThread());
        if (!pin)
            return true;
        nextOwnerCheck.store(now + iPhotoApplication::kOwnerCheckIntervalMs, std::memory_order_relaxed);
        if (ownerOfName() != pin->owner)
            markLost();
        return !lostFlag.load();
    }

    QDBusConnection bus;
    QString service;
    int timeoutMs;
    mutable std::atomic<bool> lostFlag{false};

private:
    mutable std::atomic<bool> interruptedOnce{false};

    static QDBusMessage message(const QString& destination, const QString& path, const char* interface,
                                const char* method, const QList<QVariant>& args) {
        QDBusMessage msg = QDBusMessage::createMethodCall(destination, path, QString::fromLatin1(interface),
                                                          QString::fromLatin1(method));
        if (!args.isEmpty())
            msg.setArguments(args);
        return msg;
    }

    static QDBusMessage lostAnswer() {
        return QDBusMessage::createError(QString::fromLatin1(iPhotoApplication::kErrorApplicationLost),
                                         QStringLiteral("The photo application has gone"));
    }

    static QDBusMessage interruptedAnswer() {
        return QDBusMessage::createError(QString::fromLatin1(iPhotoApplication::kErrorInterrupted),
                                         QStringLiteral("The request was interrupted"));
    }

    static bool isMadeUp(const QDBusMessage& reply) {
        return reply.errorName() == QLatin1StringView(iPhotoApplication::kErrorInterrupted) ||
               reply.errorName() == QLatin1StringView(iPhotoApplication::kErrorApplicationLost);
    }

    // Only the thread that attached is pinned: any other (the window asking for a count) goes on
    // asking whoever owns the name, with a plain blocking request.
    std::shared_ptr<const iPhotoSession> pinnedFor(QThread* thread) const {
        QMutexLocker lock(&sessionMutex);
        return session && session->thread == thread ? session : nullptr;
    }

    // The unique name of the name's owner, from the bus itself; empty when nobody owns it.
    QString ownerOfName() const {
        QDBusMessage ask = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("GetNameOwner"));
        ask.setArguments({service});
        const QDBusMessage reply = bus.call(ask, QDBus::Block, iPhotoApplication::kLivenessTimeoutMs);
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return {};
        return reply.arguments().constFirst().toString();
    }

    void markLost() const { lostFlag.store(true); }

    // The pinned process still owns the name and answers a ping within the liveness bound.
    bool confirmAlive(const iPhotoSession& pin) const {
        if (lostFlag.load())
            return false;
        if (ownerOfName() != pin.owner) {
            markLost();
            return false;
        }
        const QDBusMessage ping = message(pin.owner, QString::fromLatin1(PhotoAppWire::kApplicationPath),
                                          PhotoAppWire::kApplicationInterface, "Ping", {});
        const QDBusMessage reply =
            await(bus.asyncCall(ping, iPhotoApplication::kLivenessTimeoutMs), pin, false);
        // Interrupted, nothing is known: the caller is being cancelled and asks nothing more.
        if (reply.type() == QDBusMessage::ReplyMessage || isMadeUp(reply))
            return !lostFlag.load();
        markLost();
        return false;
    }

    // Waits for the answer in a local event loop, so that the wait can end early: when the run is
    // interrupted, and when a liveness check finds the application gone. A waiting request asks
    // for liveness every kStallCheckMs; an application that answers is given the request's whole
    // time-out.
    QDBusMessage await(QDBusPendingCall pending, const iPhotoSession& pin, bool checkStalls) const {
        if (pending.isFinished())
            return pending.reply();
        QEventLoop loop;
        QDBusPendingCallWatcher watcher(pending);
        QObject::connect(&watcher, &QDBusPendingCallWatcher::finished, &loop, &QEventLoop::quit);
        QTimer tick;
        tick.setInterval(iPhotoApplication::kInterruptionPollMs);
        QObject::connect(&tick, &QTimer::timeout, &loop, &QEventLoop::quit);
        tick.start();
        QElapsedTimer waited;
        waited.start();
        qint64 nextCheck = iPhotoApplication::kStallCheckMs;
        while (!pending.isFinished()) {
            loop.exec(QEventLoop::ExcludeUserInputEvents);
            if (pending.isFinished())
                break;
            if (pin.interrupted && pin.interrupted()) {
                interruptedOnce.store(true);
                return interruptedAnswer();
            }
            if (lostFlag.load())
                return lostAnswer();
            if (checkStalls && waited.elapsed() >= nextCheck) {
                if (!confirmAlive(pin))
                    return lostAnswer();
                nextCheck = waited.elapsed() + iPhotoApplication::kStallCheckMs;
            }
        }
        return pending.reply();
    }

    mutable QMutex sessionMutex;
    std::shared_ptr<const iPhotoSession> session;
    mutable std::atomic<qint64> nextOwnerCheck{0}; // QDeadlineTimer::current() milliseconds
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

constexpr const char* kAnsweredNo = "the photo application answered no";
constexpr const char* kNotADictionary = "the answer was not a property dictionary";

// Why a request did not do what was asked: the error's message, or `refusal` when the
// application answered but not with what was asked.
void noteFailure(QString* failure, const QDBusMessage& reply, const char* refusal = kAnsweredNo) {
    if (!failure)
        return;
    if (reply.type() == QDBusMessage::ErrorMessage)
        *failure = reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage();
    else
        *failure = QString::fromLatin1(refusal);
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

iPhotoPendingProperties iPhotoPhoto::requestProperties() const {
    if (!connection)
        return {};
    return iPhotoPendingProperties(connection, connection->send(PhotoAppWire::photoPath(objectId),
                                                                PhotoAppWire::kPhotoInterface, "Properties"));
}

bool iPhotoPhoto::properties(QVariantMap& out, QString* failure) const {
    return requestProperties().take(out, failure);
}

bool iPhotoPendingProperties::take(QVariantMap& out, QString* failure) {
    out.clear();
    if (!connection)
        return false;
    const QDBusMessage reply = connection->receive(*std::exchange(pending, std::nullopt));
    connection.reset();
    const QList<QVariant> args = reply.arguments();
    if (!ok(reply) || args.size() < 2 || !args.at(0).canConvert<QDBusArgument>()) {
        noteFailure(failure, reply, kNotADictionary);
        return false;
    }

    // Read the dictionary straight into the answer: this runs once per photo of every scan.
    const QDBusArgument values = args.at(0).value<QDBusArgument>();
    values.beginMap();
    while (!values.atEnd()) {
        QString key;
        QDBusVariant value;
        values.beginMapEntry();
        values >> key >> value;
        values.endMapEntry();
        // The instant, kept in UTC: converting every photo's date to local time costs the load
        // a time zone lookup per photo, and a reader converts the few it shows.
        if (key == QLatin1StringView(PhotoAppWire::kDate))
            out.insert(key, QDateTime::fromMSecsSinceEpoch(value.variant().toLongLong(), Qt::UTC));
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

bool iPhotoPhoto::select(QString* failure) const {
    if (!connection)
        return false;
    const QDBusMessage reply =
        connection->call(PhotoAppWire::photoPath(objectId), PhotoAppWire::kPhotoInterface, "Select");
    if (!ok(reply))
        noteFailure(failure, reply);
    return ok(reply);
}

bool iPhotoPhoto::removeFrom(const iPhotoAlbum& album, QString* failure) const {
    if (!connection || !album.isValid()) {
        if (failure)
            *failure = QStringLiteral("no album to remove it from");
        return false;
    }
    const QDBusMessage reply =
        connection->call(PhotoAppWire::photoPath(objectId), PhotoAppWire::kPhotoInterface, "RemoveFrom",
                         {QVariant::fromValue(QDBusObjectPath(PhotoAppWire::albumPath(album.id())))});
    const bool removed = firstAs<bool>(reply, false);
    if (!removed)
        noteFailure(failure, reply);
    return removed;
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

bool iPhotoAlbum::select() const {
    return connection &&
           ok(connection->call(PhotoAppWire::albumPath(objectId), PhotoAppWire::kAlbumInterface, "Select"));
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
    : connection(std::make_shared<iPhotoConnection>(bus, service, timeoutMs)) {
    qDBusRegisterMetaType<QList<QDBusObjectPath>>();
}

QString iPhotoApplication::productVersion() const {
    try {
        return version();
    } catch (const BridgeError&) {
        return {};
    }
}

bool iPhotoApplication::attach(std::function<bool()> interrupted) {
    return connection->attach(std::move(interrupted));
}

void iPhotoApplication::setInterruption(std::function<bool()> interrupted) {
    connection->setInterruption(std::move(interrupted));
}

void iPhotoApplication::detach() {
    connection->detach();
}

bool iPhotoApplication::lost() const {
    return connection->lostFlag.load();
}

bool iPhotoApplication::watch() const {
    return connection->watch();
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

bool iPhotoApplication::assignKeywordString(const QString& keyword, QString* failure) const {
    const QDBusMessage reply = connection->callApplication("AssignKeyword", {keyword});
    const bool assigned = firstAs<bool>(reply, false);
    if (!assigned)
        noteFailure(failure, reply);
    return assigned;
}

bool iPhotoApplication::importing() const {
    return firstAs<bool>(connection->callApplication("Importing"), false);
}

QString iPhotoApplication::libraryPath() const {
    return firstAs<QString>(connection->callApplication("LibraryPath"), {});
}

std::optional<QList<bool>> iPhotoApplication::referencedPaths(const QStringList& paths) const {
    const QDBusMessage reply = connection->callApplication("ReferencedPaths", {paths});
    if (!ok(reply) || reply.arguments().isEmpty())
        return std::nullopt;
    const QVariant first = reply.arguments().constFirst();
    QList<bool> answer;
    if (first.canConvert<QDBusArgument>())
        first.value<QDBusArgument>() >> answer;
    else
        answer = first.value<QList<bool>>();
    if (answer.size() != paths.size())
        return std::nullopt;
    return answer;
}

bool iPhotoApplication::ping() const {
    return ok(connection->callApplication("Ping"));
}
