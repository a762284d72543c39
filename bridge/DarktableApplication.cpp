/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "bridge/DarktableApplication.h"

#include "bridge/LuaText.h"

#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QMutex>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

constexpr const char* kUnknownMethod = "org.freedesktop.DBus.Error.UnknownMethod";
constexpr const char* kErrorLost = "org.vup.Vup.Error.ApplicationLost";
constexpr const char* kErrorInterrupted = "org.vup.Vup.Error.Interrupted";
const QString kNoLua = QStringLiteral(
    "darktable answers on the session bus but has no Lua service: it was built without Lua, which Vup "
    "needs to work with it.");
const QString kBadAnswer = QStringLiteral("darktable's answer could not be read");
constexpr int kPollMs = 100;
constexpr int kOwnerCheckIntervalMs = 500;

constexpr const char* kDefaultLibrary = "library.db";
constexpr const char* kLibraryInMemory = ":memory:";

// The value of `key` in a darktable configuration file ("key=value" lines); nothing when absent.
std::optional<QByteArray> setting(const QByteArray& file, const QByteArray& key) {
    QFile rc(QFile::decodeName(file));
    if (!rc.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray prefix = key + '=';
    while (!rc.atEnd()) {
        const QByteArray line = rc.readLine().trimmed();
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed();
    }
    return std::nullopt;
}

QByteArray number(qint64 n) {
    return QByteArray::number(n);
}

QByteArray idTable(const QList<qint64>& ids) {
    QByteArray out = "{";
    for (const qint64 id : ids)
        out += number(id) + ',';
    return out + '}';
}

// Lines of "field\tfield..." as darktable returned them.
QList<QStringView> lines(const QString& text) {
    QList<QStringView> out;
    for (const QStringView line : QStringView(text).split(u'\n', Qt::SkipEmptyParts))
        out.append(line);
    return out;
}

std::optional<QSet<qint64>> idSet(const QString& text) {
    QSet<qint64> ids;
    for (const QStringView word : QStringView(text).split(u' ', Qt::SkipEmptyParts)) {
        bool good = false;
        ids.insert(word.toLongLong(&good));
        if (!good)
            return std::nullopt;
    }
    return ids;
}

QString chunkOf(const QByteArray& body) {
    return QString::fromLatin1(QByteArray("local dt = require \"darktable\"\n") + LuaText::kEncodeFunction +
                               body);
}

// "id\tfolder\tfilename" lines, the folder and name encoded; nothing when one does not read.
std::optional<QList<DarktableApplication::Image>> imageLines(const QString& text) {
    QList<DarktableApplication::Image> images;
    for (const QStringView line : QStringView(text).split(u'\n', Qt::SkipEmptyParts)) {
        const QList<QStringView> f = line.split(u'\t');
        bool good = f.size() == 3;
        const qint64 id = good ? f.at(0).toLongLong(&good) : -1;
        const auto folder = good ? LuaText::decoded(f.at(1)) : std::nullopt;
        const auto name = good ? LuaText::decoded(f.at(2)) : std::nullopt;
        if (!folder || !name)
            return std::nullopt;
        images.append({id, *folder, *name});
    }
    return images;
}

void note(QString* failure, const QString& why) {
    if (failure)
        *failure = why;
}

} // namespace

struct DarktableSession {
    QDBusConnection bus;
    int timeoutMs;
    mutable QMutex mutex;
    QString owner; // unique name of the pinned process; empty when nothing is pinned
    QThread* thread = nullptr;
    std::function<bool()> interrupted;
    mutable std::atomic<bool> lostFlag{false};
    mutable std::atomic<qint64> nextOwnerCheck{0};
    mutable std::atomic<qint64> longestCallNs{0};
    QString productVersion;

    DarktableSession(QDBusConnection b, int t) : bus(std::move(b)), timeoutMs(t) {}

    QString ownerOfName() const {
        QDBusMessage ask = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("GetNameOwner"));
        ask.setArguments({QString::fromLatin1(DarktableApplication::kService)});
        const QDBusMessage reply = bus.call(ask, QDBus::Block, 5000);
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return {};
        return reply.arguments().constFirst().toString();
    }

    // The pinned owner when the calling thread is the run's; empty otherwise.
    QString pinnedOwner(std::function<bool()>* interruption = nullptr) const {
        QMutexLocker lock(&mutex);
        if (owner.isEmpty() || thread != QThread::currentThread())
            return {};
        if (interruption)
            *interruption = interrupted;
        return owner;
    }

    QDBusMessage call(const QString& chunk) const {
        QElapsedTimer took;
        took.start();
        const QDBusMessage reply = waitFor(chunk);
        const qint64 ns = took.nsecsElapsed();
        qint64 longest = longestCallNs.load();
        while (ns > longest && !longestCallNs.compare_exchange_weak(longest, ns)) {
        }
        return reply;
    }

    QDBusMessage waitFor(const QString& chunk) const {
        std::function<bool()> interruption;
        const QString pinned = pinnedOwner(&interruption);
        if (!pinned.isEmpty() && lostFlag.load())
            return QDBusMessage::createError(QString::fromLatin1(kErrorLost),
                                             QStringLiteral("darktable has gone"));
        QDBusMessage message = QDBusMessage::createMethodCall(
            pinned.isEmpty() ? QString::fromLatin1(DarktableApplication::kService) : pinned,
            QString::fromLatin1(DarktableApplication::kPath),
            QString::fromLatin1(DarktableApplication::kInterface), QStringLiteral("Lua"));
        message.setArguments({chunk});
        QDBusPendingCall pending = bus.asyncCall(message, timeoutMs);
        if (pinned.isEmpty()) {
            pending.waitForFinished();
            return pending.reply();
        }
        QEventLoop loop;
        QDBusPendingCallWatcher watcher(pending);
        QObject::connect(&watcher, &QDBusPendingCallWatcher::finished, &loop, &QEventLoop::quit);
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, &loop, &QEventLoop::quit);
        tick.start(kPollMs);
        while (!pending.isFinished()) {
            loop.exec(QEventLoop::ExcludeUserInputEvents);
            if (!pending.isFinished() && interruption && interruption())
                return QDBusMessage::createError(QString::fromLatin1(kErrorInterrupted),
                                                 QStringLiteral("The request was interrupted"));
        }
        const QDBusMessage reply = pending.reply();
        // Lua's own errors come from darktable itself; anything else from the bus means it may have
        // left, been replaced or stopped answering within the time-out: it is asked nothing more.
        if (reply.type() == QDBusMessage::ErrorMessage &&
            reply.errorName() != QLatin1StringView(DarktableApplication::kErrorLua) &&
            (reply.errorName() != QLatin1StringView(kUnknownMethod) || ownerOfName() != pinned))
            lostFlag.store(true);
        return reply;
    }
};

DarktableApplication::DarktableApplication(const QDBusConnection& bus, int timeoutMs)
    : state(std::make_shared<DarktableSession>(bus, timeoutMs)) {}

DarktableApplication::~DarktableApplication() = default;

double DarktableApplication::longestCallMs() const {
    return double(state->longestCallNs.load()) / 1e6;
}

PhotoApplicationCapabilities DarktableApplication::capabilities() const {
    PhotoApplicationCapabilities c;
    c.keywordsTaughtByImport = false;
    c.zombiesImportedAsCopies = false;
    c.hasTrash = false;
    c.versionIsScriptingInterface = true;
    c.keepsMasterFiles = false;
    return c;
}

bool DarktableApplication::isRunning() const {
    return !state->ownerOfName().isEmpty();
}

bool DarktableApplication::attach(std::function<bool()> interrupted) {
    const QString owner = state->ownerOfName();
    state->lostFlag.store(false);
    QMutexLocker lock(&state->mutex);
    state->owner = owner;
    state->thread = QThread::currentThread();
    state->interrupted = std::move(interrupted);
    state->nextOwnerCheck.store(0);
    return !owner.isEmpty();
}

void DarktableApplication::setInterruption(std::function<bool()> interrupted) {
    QMutexLocker lock(&state->mutex);
    state->interrupted = std::move(interrupted);
}

void DarktableApplication::detach() {
    QMutexLocker lock(&state->mutex);
    state->owner.clear();
    state->thread = nullptr;
    state->interrupted = {};
}

bool DarktableApplication::lost() const {
    return state->lostFlag.load();
}

bool DarktableApplication::watch() const {
    if (state->lostFlag.load())
        return false;
    const qint64 now = QDeadlineTimer::current().deadline();
    if (now < state->nextOwnerCheck.load())
        return true;
    const QString pinned = state->pinnedOwner();
    if (pinned.isEmpty())
        return true;
    state->nextOwnerCheck.store(now + kOwnerCheckIntervalMs);
    if (state->ownerOfName() != pinned)
        state->lostFlag.store(true);
    return !state->lostFlag.load();
}

std::optional<QString> DarktableApplication::lua(const QByteArray& body, QString* failure) const {
    const QDBusMessage reply = state->call(chunkOf(body));
    if (reply.type() != QDBusMessage::ReplyMessage) {
        note(failure, reply.errorName() == QLatin1StringView(kUnknownMethod) ? kNoLua
                      : reply.errorMessage().isEmpty()                       ? reply.errorName()
                                                                             : reply.errorMessage());
        return std::nullopt;
    }
    if (reply.arguments().isEmpty()) {
        note(failure, kBadAnswer);
        return std::nullopt;
    }
    return reply.arguments().constFirst().toString();
}

QString DarktableApplication::version() const {
    const QDBusMessage reply =
        state->call(chunkOf("return vup_enc(dt.configuration.api_version_string) .. '\\n' .. "
                            "vup_enc(dt.configuration.version)"));
    // The service is there but its Lua method is not: a build without Lua.
    if (reply.errorName() == QLatin1StringView(kUnknownMethod))
        throw BridgeError{QString::fromLatin1(kErrorNoLua), kNoLua};
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        throw BridgeError{reply.errorName(), reply.errorMessage()};
    const QString answer = reply.arguments().constFirst().toString();
    const QList<QStringView> parts = QStringView(answer).split(u'\n');
    const auto api = parts.isEmpty() ? std::nullopt : LuaText::decoded(parts.at(0));
    const auto own = parts.size() < 2 ? std::nullopt : LuaText::decoded(parts.at(1));
    if (!api || !own)
        throw BridgeError{QString::fromLatin1(kErrorLua), kBadAnswer};
    QMutexLocker lock(&state->mutex);
    state->productVersion = QString::fromUtf8(*own);
    return QString::fromUtf8(*api);
}

QString DarktableApplication::productVersion() const {
    {
        QMutexLocker lock(&state->mutex);
        if (!state->productVersion.isEmpty())
            return state->productVersion;
    }
    try {
        version();
    } catch (const BridgeError&) {
        return {};
    }
    QMutexLocker lock(&state->mutex);
    return state->productVersion;
}

QString DarktableApplication::libraryPath() const {
    // Lua does not name the library file, but darktable's own command line does, and a relative
    // one is found through its working folder.
    const std::optional<QString> answer =
        lua("local library = ''\n"
            "local f = io.open('/proc/self/cmdline', 'rb')\n"
            "if f then\n"
            "  local args = {}\n"
            "  for a in f:read('a'):gmatch('([^\\0]*)\\0') do args[#args + 1] = a end\n"
            "  f:close()\n"
            "  for i = 1, #args - 1 do if args[i] == '--library' then library = args[i + 1] end end\n"
            "end\n"
            "local pid = ''\n"
            "local s = io.open('/proc/self/stat', 'rb')\n"
            "if s then pid = s:read('l'):match('^%d+') or '' s:close() end\n"
            "return vup_enc(dt.configuration.config_dir) .. '\\n' .. vup_enc(library) .. '\\n' .. pid");
    const QList<QStringView> parts = answer ? QStringView(*answer).split(u'\n') : QList<QStringView>();
    const auto config = parts.size() == 3 ? LuaText::decoded(parts.at(0)) : std::nullopt;
    const auto given = parts.size() == 3 ? LuaText::decoded(parts.at(1)) : std::nullopt;
    if (!config || !given || config->isEmpty())
        return {};
    QByteArray library = *given;
    QByteArray base = "/proc/" + parts.at(2).toLatin1() + "/cwd";
    if (library.isEmpty()) {
        base = *config;
        library = setting(*config + "/darktablerc", "database").value_or(QByteArray());
        if (library.isEmpty())
            library = kDefaultLibrary;
    }
    if (library == kLibraryInMemory)
        return {};
    if (!library.startsWith('/'))
        library = base + '/' + library;
    // Spelled as the file system knows it, where it can be: a /proc path means darktable's folder
    // only while darktable runs.
    char resolved[PATH_MAX];
    return QFile::decodeName(::realpath(library.constData(), resolved) ? QByteArray(resolved) : library);
}

qint64 DarktableApplication::imageCount() const {
    const std::optional<QString> answer = lua("return tostring(#dt.database)");
    return answer ? answer->toLongLong() : 0;
}

QList<qint64> DarktableApplication::selectedIds() const {
    const std::optional<QString> answer =
        lua("local out = {} for i, im in ipairs(dt.gui.selection()) do out[i] = im.id end "
            "return table.concat(out, ' ')");
    const auto ids = answer ? idSet(*answer) : std::nullopt;
    if (!ids)
        return {};
    QList<qint64> sorted(ids->cbegin(), ids->cend());
    std::sort(sorted.begin(), sorted.end());
    return sorted;
}

bool DarktableApplication::select(const QList<qint64>& ids) const {
    return lua("local s = {} for _, id in ipairs(" + idTable(ids) +
               ") do local im = dt.database.get_image(id) if im then s[#s + 1] = im end end "
               "dt.gui.selection(s) return ''")
        .has_value();
}

std::optional<QList<DarktableApplication::Image>> DarktableApplication::images(bool selectionOnly,
                                                                               QString* failure) const {
    QList<qint64> ids;
    if (selectionOnly) {
        const std::optional<QString> answer =
            lua("local out = {} for i, im in ipairs(dt.gui.selection()) do out[i] = im.id end "
                "return table.concat(out, ' ')",
                failure);
        const auto set = answer ? idSet(*answer) : std::nullopt;
        if (!set) {
            if (answer)
                note(failure, kBadAnswer);
            return std::nullopt;
        }
        ids = QList<qint64>(set->cbegin(), set->cend());
        std::sort(ids.begin(), ids.end());
        return imagesWithIds(ids, failure);
    }
    // Images by position cost darktable a query that grows with the position; by id each costs one
    // look-up. Ids rise with every import, so the highest bounds them all.
    const std::optional<QString> top = lua(
        "local n = #dt.database if n == 0 then return '0' end return tostring(dt.database[n].id)", failure);
    if (!top)
        return std::nullopt;
    bool good = false;
    const qint64 highest = top->toLongLong(&good);
    if (!good) {
        note(failure, kBadAnswer);
        return std::nullopt;
    }
    QList<Image> all;
    for (qint64 first = 1; first <= highest; first += kBatch) {
        const qint64 last = std::min(highest, first + kBatch - 1);
        const auto batch = imageBatch("for id = " + number(first) + ", " + number(last), failure);
        if (!batch)
            return std::nullopt;
        all.append(*batch);
    }
    return all;
}

std::optional<QList<DarktableApplication::Image>>
DarktableApplication::imagesWithIds(const QList<qint64>& ids, QString* failure) const {
    QList<Image> found;
    for (qsizetype at = 0; at < ids.size(); at += kBatch) {
        const auto batch = imageBatch("for _, id in ipairs(" + idTable(ids.mid(at, kBatch)) + ")", failure);
        if (!batch)
            return std::nullopt;
        found.append(*batch);
    }
    return found;
}

std::optional<QList<DarktableApplication::Image>> DarktableApplication::imageBatch(const QByteArray& loop,
                                                                                   QString* failure) const {
    const std::optional<QString> answer =
        lua("local out = {} " + loop +
                " do local im = dt.database.get_image(id) if im then out[#out + 1] = id .. '\\t' .. "
                "vup_enc(im.path) .. '\\t' .. vup_enc(im.filename) end end return table.concat(out, '\\n')",
            failure);
    const auto batch = answer ? imageLines(*answer) : std::nullopt;
    if (!batch && answer)
        note(failure, kBadAnswer);
    return batch;
}

DarktableApplication::Changes DarktableApplication::eachImage(const QByteArray& action,
                                                              const QByteArray& confirm,
                                                              const QList<qint64>& ids) const {
    Changes changes;
    for (qsizetype at = 0; at < ids.size() && changes.failure.isEmpty(); at += kBatch) {
        // Each image's outcome is a line of its own, written as soon as it is known: an error
        // anywhere in the chunk still leaves the answers for the images before it.
        const std::optional<QString> answer = lua(
            "local out = {}\n"
            "local ok, err = pcall(function()\n" +
                action + confirm + "for _, id in ipairs(" + idTable(ids.mid(at, kBatch)) +
                ") do\n"
                "  local im = dt.database.get_image(id)\n"
                "  local good, why = false, nil\n"
                "  if im then good, why = pcall(act, im) end\n"
                "  if good and confirm(id, im) then out[#out + 1] = id .. '\\tdone'\n"
                "  else out[#out + 1] = id .. '\\tleft\\t' .. (why and vup_enc(tostring(why)) or '') end\n"
                "end\n"
                "end)\n"
                "if not ok then out[#out + 1] = 'stopped\\t' .. vup_enc(tostring(err)) end\n"
                "return table.concat(out, '\\n')",
            &changes.failure);
        if (!answer)
            break;
        for (const QStringView line : lines(*answer)) {
            const QList<QStringView> f = line.split(u'\t');
            if (f.at(0) == u"stopped") {
                const auto why = f.size() > 1 ? LuaText::decoded(f.at(1)) : std::nullopt;
                changes.failure = why ? QString::fromUtf8(*why) : kBadAnswer;
                break;
            }
            bool good = f.size() >= 2;
            const qint64 id = good ? f.at(0).toLongLong(&good) : -1;
            if (good && f.at(1) == u"done") {
                changes.done.insert(id);
            } else if (good && f.at(1) == u"left") {
                const auto why = f.size() > 2 ? LuaText::decoded(f.at(2)) : std::nullopt;
                changes.refused.insert(id, why ? QString::fromUtf8(*why) : QString());
            } else {
                changes.failure = kBadAnswer;
                break;
            }
        }
    }
    return changes;
}

DarktableApplication::Changes DarktableApplication::attachTag(const QString& tag,
                                                              const QList<qint64>& ids) const {
    return eachImage(
        "local tag = dt.tags.create(" + LuaText::literal(tag.toUtf8()) +
            ")\nlocal function act(im) dt.tags.attach(tag, im) end\n",
        "local function confirm(id, im)\n"
        "  for _, t in ipairs(dt.tags.get_tags(im)) do if t.name == tag.name then return true end end\n"
        "  return false\n"
        "end\n",
        ids);
}

DarktableApplication::Changes DarktableApplication::remove(const QList<qint64>& ids) const {
    return eachImage("local function act(im) dt.database.delete(im) end\n",
                     "local function confirm(id) return dt.database.get_image(id) == nil end\n", ids);
}

std::optional<QList<QByteArray>> DarktableApplication::filmRolls() const {
    const std::optional<QString> answer =
        lua("local out = {} for i = 1, #dt.films do out[#out + 1] = vup_enc(dt.films[i].path) end "
            "return table.concat(out, '\\n')");
    if (!answer)
        return std::nullopt;
    QList<QByteArray> folders;
    for (const QStringView line : lines(*answer)) {
        const auto folder = LuaText::decoded(line);
        if (!folder)
            return std::nullopt;
        folders.append(*folder);
    }
    return folders;
}

namespace {

// One line of an import chunk's answer: what became of that file.
DarktableApplication::Import importOf(QStringView row) {
    using Import = DarktableApplication::Import;
    const QList<QStringView> f = row.split(u'\t');
    Import result;
    if (f.at(0) == u"gone") {
        result.result = Import::Result::Vanished;
    } else if (f.at(0) == u"unreadable") {
        result.result = Import::Result::Unreadable;
        bool good = false;
        const int code = f.size() > 1 ? f.at(1).toInt(&good) : 0;
        result.reason = good ? QString::fromLocal8Bit(std::strerror(code)) : kBadAnswer;
    } else if (f.at(0) == u"refused") {
        result.result = Import::Result::Refused;
        const auto reason = f.size() > 1 ? LuaText::decoded(f.at(1)) : std::nullopt;
        result.reason = reason ? QString::fromUtf8(*reason) : QString();
    } else {
        result.result = f.at(0) == u"added" ? Import::Result::Added : Import::Result::AlreadyKnown;
        result.id = f.size() > 1 ? f.at(1).toLongLong() : -1;
    }
    return result;
}

} // namespace

QList<DarktableApplication::Import> DarktableApplication::importInPlace(const QList<QByteArray>& paths,
                                                                        const QString& tag,
                                                                        QString* failure) const {
    QList<Import> out;
    for (qsizetype at = 0; at < paths.size(); at += kImportBatch) {
        QByteArray list = "{";
        for (const QByteArray& path : paths.mid(at, kImportBatch))
            list += LuaText::literal(path) + ',';
        list += '}';
        // The look right before each import is what keeps darktable alive: it dies importing a
        // file that is no longer there. Only a file that is not there is gone: one darktable may
        // not open is still there, and stays where it is. An import that adds no image found one
        // already known.
        const std::optional<QString> answer =
            lua("local tag = dt.tags.create(" + LuaText::literal(tag.toUtf8()) +
                    ")\nlocal out = {}\nfor i, p in ipairs(" + list +
                    ") do\n"
                    "  local f, _, code = io.open(p, 'rb')\n"
                    "  if not f and (code == " +
                    number(ENOENT) + " or code == " + number(ENOTDIR) +
                    ") then\n"
                    "    out[i] = 'gone'\n"
                    "  elseif not f then out[i] = 'unreadable\\t' .. tostring(code) else\n"
                    "    f:close()\n"
                    "    local before = #dt.database\n"
                    "    local ok, im = pcall(dt.database.import, p)\n"
                    "    if not ok then out[i] = 'refused\\t' .. vup_enc(im)\n"
                    "    elseif not im then out[i] = 'refused\\t'\n"
                    "    elseif #dt.database == before then out[i] = 'known\\t' .. im.id\n"
                    "    else pcall(dt.tags.attach, tag, im) out[i] = 'added\\t' .. im.id end\n"
                    "  end\n"
                    "end\n"
                    "return table.concat(out, '\\n')",
                failure);
        if (!answer)
            return out;
        const QList<QStringView> rows = lines(*answer);
        if (rows.size() != std::min<qsizetype>(kImportBatch, paths.size() - at)) {
            note(failure, kBadAnswer);
            return out;
        }
        for (const QStringView row : rows)
            out.append(importOf(row));
    }
    return out;
}

std::optional<QStringList> DarktableApplication::tagsOf(qint64 id) const {
    const std::optional<QString> answer =
        lua("local im = dt.database.get_image(" + number(id) +
            ") if not im then return '' end local out = {} for i, t in ipairs(dt.tags.get_tags(im)) do "
            "out[i] = vup_enc(t.name) end return table.concat(out, '\\n')");
    if (!answer)
        return std::nullopt;
    QStringList names;
    for (const QStringView line : lines(*answer))
        names.append(QString::fromUtf8(LuaText::decoded(line).value_or(QByteArray())));
    return names;
}
