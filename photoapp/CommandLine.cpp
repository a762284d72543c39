/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "photoapp/CommandLine.h"

#include "photoapp/Catalogue.h"
#include "photoapp/CatalogueDump.h"
#include "photoapp/DBusNames.h"
#include "photoapp/DemoLibrary.h"
#include "photoapp/ImportSources.h"
#include "photoapp/Importer.h"
#include "photoapp/KeywordRules.h"
#include "photoapp/Log.h"
#include "photoapp/PhotoEditor.h"
#include "photoapp/PropertyKeys.h"
#include "photoapp/SampleImages.h"
#include "photoapp/ServeCommand.h"
#include "wire/PhotoAppWire.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QJsonDocument>
#include <QTextStream>
#include <cstdio>
#include <functional>
#include <map>

namespace {

constexpr auto kDefaultVersion = "9.6.1";

// Option names, subcommands and the bus names are the program's words and stay as they are.
constexpr const char* kHelp = QT_TRANSLATE_NOOP(
    "CommandLine",
    "Usage: photoapp COMMAND LIBRARY [ARGUMENTS]\n"
    "       photoapp --version\n"
    "\n"
    "A photo application that keeps a library (a NAME.photolibrary folder with Masters/, Modified/ and\n"
    "a SQLite catalogue in Database/) and serves it on the session bus as com.apple.iPhoto.\n"
    "\n"
    "Library:\n"
    "  create LIBRARY                          make an empty library\n"
    "  import LIBRARY PATH... [--album NAME]   copy image files or folders (recursively) into the\n"
    "                                          library and the album NAME (made if missing)\n"
    "  serve LIBRARY [--version TEXT] [--window]\n"
    "                                          serve the library on the session bus until SIGTERM or\n"
    "                                          SIGINT; version text defaults to 9.6.1. One service per\n"
    "                                          library: a second one, on any bus, exits with status 1.\n"
    "                                          With --window, also show the library in a window;\n"
    "                                          closing it ends the service\n"
    "  open LIBRARY [--version TEXT]           the same as serve --window\n"
    "  dump LIBRARY                            the whole catalogue as JSON: photos (id, imageFilename,\n"
    "                                          imagePath, originalPath, date, width, height, keywords,\n"
    "                                          albums), albums (id, name, type, photos), keywords,\n"
    "                                          selection, libraryAlbum, trashAlbum\n"
    "  demo LIBRARY [--photos N] [--missing-images K] [--missing-masters K] [--zombies K]\n"
    "                                          a demo library of small JPEGs (defaults 40, 3, 2, 2)\n"
    "  keyword-image OUT.jpg KEYWORD...        write a small JPEG carrying the keywords (IPTC, XMP)\n"
    "\n"
    "Scripting and tests (work whether or not a service serves the library; a running service sees\n"
    "the change with its next request):\n"
    "  select LIBRARY --photos ID... | --album ID\n"
    "  keyword add LIBRARY NAME                a known keyword (the existing one when the name is known\n"
    "                                          in any case); prints its id\n"
    "  album create LIBRARY NAME [--type albm|smrt]\n"
    "  photo add-record LIBRARY --image PATH [--original PATH] [--date MS] [--width W] [--height H]\n"
    "                   [--album ID]           a catalogue row naming any path, nothing copied\n"
    "  edit LIBRARY PHOTO_ID                   make an edited version (image path != master path)\n"
    "  fault LIBRARY --photo ID --null KEY     the property KEY answers the missing value\n"
    "  fault LIBRARY --photo ID --absent KEY   the property KEY is left out of the answer\n"
    "  fault LIBRARY --photo ID --fail-properties\n"
    "                                          the photo's property request fails\n"
    "  fault LIBRARY --photo ID --refuse-changes\n"
    "                                          keyword assignments and removals of the photo fail\n"
    "  fault LIBRARY --version-error NAME MESSAGE\n"
    "                                          the version request fails with that D-Bus error\n"
    "  fault LIBRARY --import-delay MS         every import takes at least MS milliseconds\n"
    "  fault LIBRARY --stop-before-record      an import stops its process (SIGSTOP) between naming a\n"
    "                                          copy and recording it, for a test to kill it there\n"
    "  fault LIBRARY --clear                   remove every injected fault\n"
    "\n"
    "The same changes can be made on a running service through com.apple.iPhoto.Control at /control:\n"
    "SelectItems(ao), AddKeyword(s) -> o, EditPhoto(x) -> s, SetNullKey(x, s), SetAbsentKey(x, s),\n"
    "FailProperties(x), RefuseChanges(x), SetVersionError(s, s), SetImportDelay(i), ClearFaults().\n");

struct UsageError {
    QString message;
};

int fail(const QString& message) {
    PhotoAppLog::line(message);
    return 1;
}

void out(const QString& text) {
    const QByteArray bytes = text.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
}

// Arguments of one subcommand: positionals and `--name value...` options.
class Args {
public:
    explicit Args(QStringList a) : args(std::move(a)) {}

    // Removes `--name` and the `count` values after it; nothing when the option is not there.
    std::optional<QStringList> option(const char* name, int count) {
        const int at = args.indexOf(QLatin1StringView(name));
        if (at < 0)
            return std::nullopt;
        if (at + count > args.size() - 1)
            throw UsageError{
                QCoreApplication::translate("CommandLine", "%1 needs %n value(s)", nullptr, count)
                    .arg(QLatin1StringView(name))};
        QStringList values = args.mid(at + 1, count);
        args.remove(at, count + 1);
        return values;
    }
    std::optional<QString> value(const char* name) {
        const auto v = option(name, 1);
        return v ? std::optional<QString>(v->constFirst()) : std::nullopt;
    }
    bool flag(const char* name) {
        const int at = args.indexOf(QLatin1StringView(name));
        if (at < 0)
            return false;
        args.remove(at);
        return true;
    }
    // Removes `--name` and every value up to the next option.
    std::optional<QStringList> list(const char* name) {
        const int at = args.indexOf(QLatin1StringView(name));
        if (at < 0)
            return std::nullopt;
        int end = at + 1;
        while (end < args.size() && !args.at(end).startsWith(QLatin1StringView("--")))
            ++end;
        QStringList values = args.mid(at + 1, end - at - 1);
        args.remove(at, end - at);
        return values;
    }
    QString positional(const char* what) {
        if (args.isEmpty() || args.constFirst().startsWith(QLatin1StringView("--")))
            throw UsageError{QCoreApplication::translate("CommandLine", "missing %1")
                                 .arg(QCoreApplication::translate("CommandLine", what))};
        return args.takeFirst();
    }
    QStringList rest() {
        QStringList r;
        std::swap(r, args);
        return r;
    }
    void done() const {
        if (!args.isEmpty())
            throw UsageError{
                QCoreApplication::translate("CommandLine", "unexpected argument %1").arg(args.constFirst())};
    }

private:
    QStringList args;
};

qint64 toId(const QString& text, const char* what) {
    bool good = false;
    const qint64 id = text.toLongLong(&good);
    if (!good || id <= 0)
        throw UsageError{QCoreApplication::translate("CommandLine", "%1 is not a %2 id")
                             .arg(text, QCoreApplication::translate("CommandLine", what))};
    return id;
}

int toCount(const QString& text, const char* what) {
    bool good = false;
    const int n = text.toInt(&good);
    if (!good || n < 0)
        throw UsageError{
            QCoreApplication::translate("CommandLine", "%1 must be a number of at least 0, not %2")
                .arg(QLatin1StringView(what), text)};
    return n;
}

std::unique_ptr<Catalogue> openLibrary(const QString& path) {
    QString error;
    std::unique_ptr<Catalogue> catalogue = Catalogue::open(LibraryPackage(path), &error);
    if (!catalogue)
        throw UsageError{error};
    return catalogue;
}

int createCommand(Args& a) {
    const QString path = a.positional("LIBRARY");
    a.done();
    const LibraryPackage library(path);
    QString error;
    if (!library.createFolders(&error) || !Catalogue::create(library, &error))
        return fail(error);
    out(QCoreApplication::translate("CommandLine", "created %1").arg(library.root()));
    return 0;
}

qint64 albumNamed(Catalogue& catalogue, const QString& name) {
    for (const Catalogue::Album& album : catalogue.albums()) {
        if (album.type == PhotoAppWire::kAlbumTypePlain && album.name == name)
            return album.id;
    }
    return catalogue.createAlbum(name, PhotoAppWire::kAlbumTypePlain);
}

int importCommand(Args& a) {
    const QString path = a.positional("LIBRARY");
    const std::optional<QString> albumName = a.value("--album");
    const QStringList sources = a.rest();
    if (sources.isEmpty())
        throw UsageError{
            QCoreApplication::translate("CommandLine", "nothing to import: name files or folders")};
    auto catalogue = openLibrary(path);
    qint64 album = catalogue->libraryAlbumId();
    if (albumName && (album = albumNamed(*catalogue, *albumName)) == 0)
        return fail(QCoreApplication::translate("CommandLine", "cannot make the album %1: %2")
                        .arg(*albumName, catalogue->lastError()));
    QStringList absolute;
    for (const QString& source : sources)
        absolute.append(QFileInfo(source).absoluteFilePath());
    const ImportSources::Collected collected = ImportSources::collect(absolute);
    Importer importer(*catalogue);
    const Importer::Result r = importer.importFiles(collected, album);
    const int total = static_cast<int>(r.imported.size() + r.refused.size());
    out(QCoreApplication::translate("CommandLine", "imported %1 of %n files", nullptr, total)
            .arg(r.imported.size()));
    return r.refused.isEmpty() ? 0 : 1;
}

int dumpCommand(Args& a) {
    const QString path = a.positional("LIBRARY");
    a.done();
    auto catalogue = openLibrary(path);
    const QByteArray json = QJsonDocument(CatalogueDump::dump(*catalogue)).toJson(QJsonDocument::Indented);
    std::fwrite(json.constData(), 1, static_cast<size_t>(json.size()), stdout);
    return 0;
}

int demoCommand(Args& a) {
    const QString path = a.positional("LIBRARY");
    DemoLibrary::Options o;
    if (const auto v = a.value("--photos"))
        o.photos = toCount(*v, "--photos");
    if (const auto v = a.value("--missing-images"))
        o.missingImages = toCount(*v, "--missing-images");
    if (const auto v = a.value("--missing-masters"))
        o.missingMasters = toCount(*v, "--missing-masters");
    if (const auto v = a.value("--zombies"))
        o.zombies = toCount(*v, "--zombies");
    a.done();
    DemoLibrary::Summary s;
    QString error;
    if (!DemoLibrary::generate(path, o, &s, &error))
        return fail(error);
    out(QCoreApplication::translate(
            "CommandLine", "demo library %1: %2 photos, %3 missing images, %4 missing masters, %5 zombies")
            .arg(LibraryPackage(path).root())
            .arg(s.photos)
            .arg(s.missingImages)
            .arg(s.missingMasters)
            .arg(s.zombies));
    return 0;
}

// A fixed date keeps the keyword image the same from one build to the next.
const QDateTime kKeywordImageDate(QDate(2014, 1, 1), QTime(12, 0), Qt::UTC);

int keywordImageCommand(Args& a) {
    const QString path = a.positional("OUT.jpg");
    const QStringList keywords = a.rest();
    if (keywords.isEmpty())
        throw UsageError{QCoreApplication::translate("CommandLine", "name at least one keyword")};
    QString error;
    const QString temp = path + QStringLiteral(".part");
    QFile::remove(temp);
    if (!SampleImages::writeJpeg(temp, 3, kKeywordImageDate, keywords, &error)) {
        QFile::remove(temp);
        return fail(error);
    }
    QFile::remove(path);
    if (!QFile::rename(temp, path))
        return fail(QCoreApplication::translate("CommandLine", "cannot write %1").arg(path));
    return 0;
}

int selectCommand(Args& a) {
    const QString path = a.positional("LIBRARY");
    const std::optional<QStringList> photos = a.list("--photos");
    const std::optional<QString> album = a.value("--album");
    a.done();
    if (photos.has_value() == album.has_value())
        throw UsageError{
            QCoreApplication::translate("CommandLine", "select takes either --photos ID... or --album ID")};
    auto catalogue = openLibrary(path);
    QList<Catalogue::SelectionItem> items;
    if (album) {
        const qint64 id = toId(*album, QT_TRANSLATE_NOOP("CommandLine", "album"));
        if (!catalogue->album(id))
            return fail(QCoreApplication::translate("CommandLine", "no album with id %1").arg(id));
        items.append({Catalogue::SelectionItem::Kind::Album, id});
    } else {
        for (const QString& p : *photos) {
            const qint64 id = toId(p, QT_TRANSLATE_NOOP("CommandLine", "photo"));
            if (!catalogue->photoExists(id))
                return fail(QCoreApplication::translate("CommandLine", "no photo with id %1").arg(id));
            items.append({Catalogue::SelectionItem::Kind::Photo, id});
        }
    }
    if (!catalogue->setSelection(items))
        return fail(catalogue->lastError());
    return 0;
}

int keywordCommand(Args& a) {
    const QString verb = a.positional(QT_TRANSLATE_NOOP("CommandLine", "keyword subcommand (add)"));
    if (verb != QLatin1StringView("add"))
        throw UsageError{
            QCoreApplication::translate("CommandLine", "unknown keyword subcommand %1").arg(verb)};
    const QString path = a.positional("LIBRARY");
    const QString name = a.positional("NAME");
    a.done();
    if (const QString why = KeywordRules::refusal(name); !why.isEmpty())
        throw UsageError{QCoreApplication::translate("CommandLine", "a keyword name cannot be %1").arg(why)};
    auto catalogue = openLibrary(path);
    const qint64 id = catalogue->ensureKeyword(name);
    if (id == 0)
        return fail(catalogue->lastError());
    out(QString::number(id));
    return 0;
}

int albumCommand(Args& a) {
    const QString verb = a.positional(QT_TRANSLATE_NOOP("CommandLine", "album subcommand (create)"));
    if (verb != QLatin1StringView("create"))
        throw UsageError{QCoreApplication::translate("CommandLine", "unknown album subcommand %1").arg(verb)};
    const QString path = a.positional("LIBRARY");
    const QString name = a.positional("NAME");
    quint32 type = PhotoAppWire::kAlbumTypePlain;
    if (const auto t = a.value("--type")) {
        if (*t == QLatin1StringView("smrt"))
            type = PhotoAppWire::kAlbumTypeSmart;
        else if (*t != QLatin1StringView("albm"))
            throw UsageError{
                QCoreApplication::translate("CommandLine", "--type is albm or smrt, not %1").arg(*t)};
    }
    a.done();
    auto catalogue = openLibrary(path);
    const qint64 id = catalogue->createAlbum(name, type);
    if (id == 0)
        return fail(catalogue->lastError());
    out(QString::number(id));
    return 0;
}

int photoCommand(Args& a) {
    const QString verb = a.positional(QT_TRANSLATE_NOOP("CommandLine", "photo subcommand (add-record)"));
    if (verb != QLatin1StringView("add-record"))
        throw UsageError{QCoreApplication::translate("CommandLine", "unknown photo subcommand %1").arg(verb)};
    const QString path = a.positional("LIBRARY");
    const std::optional<QString> image = a.value("--image");
    if (!image)
        throw UsageError{QCoreApplication::translate("CommandLine", "add-record needs --image PATH")};
    Catalogue::Photo p;
    // Kept exactly as given when absolute: tests use this for paths no import would produce.
    auto absolute = [](const QString& s) {
        return s.startsWith(QLatin1Char('/')) ? s : QFileInfo(s).absoluteFilePath();
    };
    p.imagePath = absolute(*image);
    p.originalPath = absolute(a.value("--original").value_or(*image));
    p.imageFilename = QFileInfo(p.imagePath).fileName();
    p.dateMs = a.value("--date").value_or(QString::number(QDateTime::currentMSecsSinceEpoch())).toLongLong();
    p.width = toCount(a.value("--width").value_or(QStringLiteral("64")), "--width");
    p.height = toCount(a.value("--height").value_or(QStringLiteral("48")), "--height");
    const std::optional<QString> album = a.value("--album");
    a.done();
    auto catalogue = openLibrary(path);
    Catalogue::Transaction t(*catalogue);
    const qint64 id = catalogue->addPhoto(p);
    bool stored = id != 0 && catalogue->addToAlbum(catalogue->libraryAlbumId(), id);
    if (stored && album) {
        const qint64 albumId = toId(*album, QT_TRANSLATE_NOOP("CommandLine", "album"));
        if (!catalogue->album(albumId))
            return fail(QCoreApplication::translate("CommandLine", "no album with id %1").arg(albumId));
        stored = catalogue->addToAlbum(albumId, id);
    }
    if (!stored || !t.commit())
        return fail(catalogue->lastError());
    out(QString::number(id));
    return 0;
}

int editCommand(Args& a) {
    const QString path = a.positional("LIBRARY");
    const qint64 id = toId(a.positional("PHOTO_ID"), QT_TRANSLATE_NOOP("CommandLine", "photo"));
    a.done();
    auto catalogue = openLibrary(path);
    QString error;
    const QString edited = PhotoEditor::makeEditedVersion(*catalogue, id, &error);
    if (edited.isEmpty())
        return fail(error);
    out(edited);
    return 0;
}

int faultCommand(Args& a) {
    const QString path = a.positional("LIBRARY");
    const std::optional<QString> photo = a.value("--photo");
    const std::optional<QString> nullKey = a.value("--null");
    const std::optional<QString> absentKey = a.value("--absent");
    const bool failProperties = a.flag("--fail-properties");
    const bool refuseChanges = a.flag("--refuse-changes");
    const std::optional<QStringList> versionError = a.option("--version-error", 2);
    const std::optional<QString> importDelay = a.value("--import-delay");
    const bool stopBeforeRecord = a.flag("--stop-before-record");
    const bool clear = a.flag("--clear");
    a.done();
    const int photoFaults =
        int(nullKey.has_value()) + int(absentKey.has_value()) + int(failProperties) + int(refuseChanges);
    const int chosen = photoFaults + int(versionError.has_value()) + int(importDelay.has_value()) +
                       int(stopBeforeRecord) + int(clear);
    if (chosen != 1)
        throw UsageError{QCoreApplication::translate(
            "CommandLine", "fault takes exactly one of --null, --absent, --fail-properties, "
                           "--refuse-changes, --version-error, --import-delay, "
                           "--stop-before-record, --clear")};
    if (photoFaults == 1 && !photo)
        throw UsageError{QCoreApplication::translate("CommandLine", "this fault needs --photo ID")};
    if (photoFaults == 0 && photo)
        throw UsageError{QCoreApplication::translate(
            "CommandLine", "--photo goes with --null, --absent, --fail-properties or --refuse-changes")};
    if (versionError && !DBusNames::isValidErrorName(versionError->at(0)))
        throw UsageError{QCoreApplication::translate(
                             "CommandLine", "%1 is not a D-Bus error name (such as com.example.Error.Failed)")
                             .arg(versionError->at(0))};

    const std::optional<QString> key = nullKey ? nullKey : absentKey;
    if (key && !PropertyKeys::isKnown(*key))
        throw UsageError{
            QCoreApplication::translate("CommandLine", "%1 is not a property key; the keys are %2")
                .arg(*key, PropertyKeys::list())};

    auto catalogue = openLibrary(path);
    bool done = false;
    if (photoFaults == 1) {
        const qint64 id = toId(*photo, QT_TRANSLATE_NOOP("CommandLine", "photo"));
        if (!catalogue->photoExists(id))
            return fail(QCoreApplication::translate("CommandLine", "no photo with id %1").arg(id));
        if (failProperties)
            done = catalogue->setFailProperties(id);
        else if (refuseChanges)
            done = catalogue->setRefuseChanges(id);
        else
            done = catalogue->setKeyFault(id, *key, absentKey.has_value());
    } else if (versionError) {
        done = catalogue->setVersionError(versionError->at(0), versionError->at(1));
    } else if (importDelay) {
        done = catalogue->setImportDelayMs(toCount(*importDelay, "--import-delay"));
    } else if (stopBeforeRecord) {
        done = catalogue->setStopBeforeRecord();
    } else {
        done = catalogue->clearFaults();
    }
    return done ? 0 : fail(catalogue->lastError());
}

int serve(Args& a, bool window, const ServeCommand::WindowFactory& makeWindow) {
    const QString path = a.positional("LIBRARY");
    const QString version = a.value("--version").value_or(QString::fromLatin1(kDefaultVersion));
    window = a.flag("--window") || window;
    a.done();
    if (window && !makeWindow)
        return fail(QCoreApplication::translate("CommandLine", "no window can be shown here"));
    return ServeCommand::run(openLibrary(path), version, window ? makeWindow : ServeCommand::WindowFactory());
}

} // namespace

namespace CommandLine {

bool wantsWindow(const QStringList& arguments) {
    const QString command = arguments.value(1);
    return command == QLatin1StringView("open") ||
           (command == QLatin1StringView("serve") && arguments.contains(QLatin1StringView("--window")));
}

int run(const QStringList& arguments, const ServeCommand::WindowFactory& window) {
    const auto serveCommand = [&window](Args& a) {
        return serve(a, false, window);
    };
    const auto openCommand = [&window](Args& a) {
        return serve(a, true, window);
    };
    const std::map<QString, std::function<int(Args&)>> commands = {
        {QStringLiteral("create"), createCommand}, {QStringLiteral("import"), importCommand},
        {QStringLiteral("serve"), serveCommand},   {QStringLiteral("dump"), dumpCommand},
        {QStringLiteral("demo"), demoCommand},     {QStringLiteral("keyword-image"), keywordImageCommand},
        {QStringLiteral("select"), selectCommand}, {QStringLiteral("keyword"), keywordCommand},
        {QStringLiteral("album"), albumCommand},   {QStringLiteral("photo"), photoCommand},
        {QStringLiteral("edit"), editCommand},     {QStringLiteral("fault"), faultCommand},
        {QStringLiteral("open"), openCommand},
    };
    const QStringList args = arguments.mid(1);
    if (!args.isEmpty() && args.constFirst() == QLatin1StringView("--version")) {
        out(QStringLiteral("photoapp " PHOTOAPP_VERSION));
        return 0;
    }
    if (args.isEmpty() || args.constFirst() == QLatin1StringView("--help") ||
        args.constFirst() == QLatin1StringView("-h") || args.constFirst() == QLatin1StringView("help")) {
        std::fputs(QCoreApplication::translate("CommandLine", kHelp).toUtf8().constData(),
                   args.isEmpty() ? stderr : stdout);
        return args.isEmpty() ? 1 : 0;
    }
    const auto command = commands.find(args.constFirst());
    if (command == commands.end())
        return fail(QCoreApplication::translate("CommandLine", "unknown command %1; see photoapp --help")
                        .arg(args.constFirst()));
    Args rest(args.mid(1));
    try {
        return command->second(rest);
    } catch (const UsageError& e) {
        return fail(QStringLiteral("%1: %2").arg(args.constFirst(), e.message));
    }
}

} // namespace CommandLine
