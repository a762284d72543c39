/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
// The bridge against a live photoapp on the test's private session bus.

#include "bridge/LuaText.h"
#include "bridge/iPhotoBridge.h"
#include "tests/support/PhotoAppProcess.h"
#include "tests/support/TestMain.h"
#include "wire/PhotoAppWire.h"

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <cctype>
#include <csignal>
#include <optional>
#include <thread>

namespace {

QString service() {
    return QString::fromLatin1(PhotoAppWire::kService);
}

QList<qint64> photoIds(const QJsonObject& dump) {
    QList<qint64> ids;
    for (const QJsonValue& p : dump.value(QStringLiteral("photos")).toArray())
        ids.append(p.toObject().value(QStringLiteral("id")).toInteger());
    return ids;
}

// Reads a double-quoted literal by Lua's own rules for the forms it may hold: plain printable
// characters and \ddd. Anything else (a bare quote, another escape) is a literal darktable would
// read differently, or not at all.
std::optional<QByteArray> readAsLua(const QByteArray& literal) {
    if (literal.size() < 2 || !literal.startsWith('"') || !literal.endsWith('"'))
        return std::nullopt;
    QByteArray out;
    for (qsizetype i = 1; i + 1 < literal.size(); ++i) {
        const char c = literal[i];
        if (c < 0x20 || c > 0x7e || c == '"')
            return std::nullopt;
        if (c != '\\') {
            out.append(c);
            continue;
        }
        const QByteArray digits = literal.mid(i + 1, 3);
        bool ok = false;
        const int value = digits.toInt(&ok);
        if (digits.size() != 3 || !ok || value > 255 || !std::isdigit(static_cast<unsigned char>(digits[0])))
            return std::nullopt;
        out.append(char(value));
        i += 3;
    }
    return out;
}

} // namespace

class tst_Bridge : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString library;
    QList<qint64> ids;

    std::shared_ptr<iPhotoApplication> app(int timeoutMs = 5000) {
        return std::make_shared<iPhotoApplication>(QDBusConnection::sessionBus(), service(), timeoutMs);
    }

private slots:
    // Values enter darktable's Lua only as literals, and its answers come back %XX-encoded: file
    // names that are hostile to Lua, to D-Bus or to the encoding itself survive both ways.
    void luaTextCarriesAnyBytes_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("encoded");
        QTest::newRow("plain") << QByteArray("/photos/a.jpg") << QStringLiteral("/photos/a.jpg");
        QTest::newRow("quotes and backslash")
            << QByteArray("/p/\"it's\\.jpg") << QStringLiteral("/p/\"it's\\.jpg");
        QTest::newRow("long bracket and percent")
            << QByteArray("/p/]]%41]=].jpg") << QStringLiteral("/p/]]%2541]=].jpg");
        QTest::newRow("newline before a digit")
            << QByteArray("/p/a\n7.jpg") << QStringLiteral("/p/a%0A7.jpg");
        QTest::newRow("not UTF-8") << QByteArray("/p/\xff\xc3(\x01.jpg")
                                   << QStringLiteral("/p/%FF%C3(%01.jpg");
        QTest::newRow("UTF-8") << QByteArray("/p/\xc3\xa9t\xc3\xa9.jpg")
                               << QStringLiteral("/p/%C3%A9t%c3%a9.jpg");
    }
    void luaTextCarriesAnyBytes() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, encoded);
        QCOMPARE(readAsLua(LuaText::literal(bytes)), std::optional<QByteArray>(bytes));
        QCOMPARE(LuaText::decoded(encoded), std::optional<QByteArray>(bytes));
        for (const QString& broken : {QStringLiteral("%4"), QStringLiteral("a%zz"), QStringLiteral("\u00e9")})
            QVERIFY2(!LuaText::decoded(broken), qPrintable(broken));
    }

    void initTestCase() {
        QVERIFY(dir.isValid());
        library = dir.filePath(QStringLiteral("Bridge.photolibrary"));
        QCOMPARE(photoapp("demo", library, "--photos", "6", "--missing-images", "0", "--missing-masters", "0",
                          "--zombies", "0")
                     .exitCode,
                 0);
        ids = photoIds(PhotoAppProcess::dump(library));
        QCOMPARE(ids.size(), 6);
    }

    void notRunningAnswersNothing() {
        const auto a = app();
        QVERIFY(!a->isRunning());
        QVERIFY(a->selection().isEmpty());
        QVERIFY(a->albums().isEmpty());
        QVERIFY(a->keywords().isEmpty());
        QVERIFY(!a->photoLibraryAlbum().isValid());
        QCOMPARE(a->photoLibraryAlbum().photoCount(), 0);
        QVERIFY(!a->importing());
        QVERIFY(a->photoWithId(ids.first()).properties().isEmpty());
        QVariantMap props;
        QVERIFY(!a->photoWithId(ids.first()).properties(props));
        try {
            a->version();
            QFAIL("version() must report the failure");
        } catch (const BridgeError& e) {
            QCOMPARE(e.name, QStringLiteral("org.freedesktop.DBus.Error.ServiceUnknown"));
            QVERIFY(!e.reason.isEmpty());
        }
    }

    void requestsOfARunningApplication() {
        PhotoAppProcess server;
        QVERIFY(server.serve(library, {QStringLiteral("--version"), QStringLiteral("9.5.1")}));
        const auto a = app();
        QVERIFY(a->isRunning());
        QVERIFY(a->ping());
        QCOMPARE(a->version(), QStringLiteral("9.5.1"));

        const iPhotoAlbum libraryAlbum = a->photoLibraryAlbum();
        const iPhotoAlbum trash = a->trashAlbum();
        QVERIFY(libraryAlbum.isValid());
        QVERIFY(trash.isValid());
        QVERIFY(!(libraryAlbum == trash));
        QCOMPARE(libraryAlbum.photoCount(), 6);
        QCOMPARE(libraryAlbum.photos().size(), 6);
        QVERIFY(libraryAlbum.type() != PhotoAppWire::kAlbumTypePlain);
        QVERIFY(a->albums().contains(libraryAlbum));
        QVERIFY(a->albums().contains(trash));

        // The same photo reached by two routes is equal; different photos are not.
        const QList<iPhotoPhoto> photos = libraryAlbum.photos();
        QCOMPARE(photos.first(), a->photoWithId(photos.first().id()));
        QVERIFY(!(photos.at(0) == photos.at(1)));

        // Properties: texts, an int64 id, pixel sizes and a date that arrives as a date.
        const QVariantMap props = photos.first().properties();
        QVERIFY(props.value(QStringLiteral("imagePath")).toString().startsWith(u'/'));
        QVERIFY(props.value(QStringLiteral("originalPath")).toString().startsWith(u'/'));
        QVERIFY(!props.value(QStringLiteral("imageFilename")).toString().isEmpty());
        QCOMPARE(props.value(QStringLiteral("id")).toLongLong(), photos.first().id());
        QVERIFY(props.value(QStringLiteral("width")).toInt() > 0);
        QVERIFY(props.value(QStringLiteral("height")).toInt() > 0);
        QCOMPARE(props.value(QStringLiteral("date")).metaType().id(), QMetaType::QDateTime);
        QVERIFY(props.value(QStringLiteral("date")).toDateTime().isValid());

        // A new plain album, found again by name and type.
        const iPhotoAlbum fresh = a->newAlbumName(QStringLiteral("Bridge Album"));
        QVERIFY(fresh.isValid());
        QCOMPARE(fresh.name(), QStringLiteral("Bridge Album"));
        QCOMPARE(fresh.type(), PhotoAppWire::kAlbumTypePlain);
        QCOMPARE(fresh.photoCount(), 0);
        QVERIFY(a->albums().contains(fresh));

        // Selection: a photo becomes the whole selection; an album in the selection is an album.
        photos.at(2).select();
        const QList<iPhotoItem> sel = a->selection();
        QCOMPARE(sel.size(), 1);
        QVERIFY(!sel.first().isAlbum());
        QCOMPARE(sel.first().photo(), photos.at(2));
        fresh.select();
        const QList<iPhotoItem> albumSel = a->selection();
        QCOMPARE(albumSel.size(), 1);
        QVERIFY(albumSel.first().isAlbum());
        QCOMPARE(albumSel.first().album(), fresh);

        // Keywords: an unknown keyword is not assigned; a known one is, to the selection only.
        photos.at(3).select();
        QVERIFY(!a->assignKeywordString(QStringLiteral("Never Heard Of")));
        QCOMPARE(photoapp("keyword", "add", library, "Bridge Tag").exitCode, 0);
        QStringList names;
        for (const iPhotoKeyword& k : a->keywords())
            names.append(k.name());
        QVERIFY(names.contains(QStringLiteral("Bridge Tag")));
        QVERIFY(a->assignKeywordString(QStringLiteral("Bridge Tag")));
        const QJsonObject dump = PhotoAppProcess::dump(library);
        for (const QJsonValue& p : dump.value(QStringLiteral("photos")).toArray()) {
            const QJsonObject o = p.toObject();
            const bool tagged = o.value(QStringLiteral("keywords"))
                                    .toArray()
                                    .contains(QJsonValue(QStringLiteral("Bridge Tag")));
            QCOMPARE(tagged, o.value(QStringLiteral("id")).toInteger() == photos.at(3).id());
        }

        // Removing from the library moves the photo to the trash album.
        QVERIFY(photos.at(4).removeFrom(libraryAlbum));
        QCOMPARE(libraryAlbum.photoCount(), 5);
        QVERIFY(!libraryAlbum.photos().contains(photos.at(4)));
        QVERIFY(trash.photos().contains(photos.at(4)));

        // An id that does not exist answers nothing.
        QVERIFY(a->photoWithId(987654321).properties().isEmpty());
        QVERIFY(a->albumWithId(987654321).name().isEmpty());
        QCOMPARE(a->albumWithId(987654321).type(), 0u);
        QVERIFY(server.stop());
    }

    // A hung application (stopped, not dead) holds no request longer than the bridge's bound.
    void hungApplicationIsBoundedByTheTimeout() {
        PhotoAppProcess server;
        QVERIFY(server.serve(library));
        const auto a = app(500);
        const iPhotoPhoto photo = a->photoWithId(ids.at(2));
        QVERIFY(!photo.properties().isEmpty());
        QVERIFY(server.suspend());
        QElapsedTimer timer;
        timer.start();
        QVERIFY(photo.properties().isEmpty());
        QVERIFY(!a->importing());
        const qint64 elapsed = timer.elapsed();
        ::kill(static_cast<pid_t>(server.pid()), SIGCONT);
        QVERIFY2(elapsed < 5000, "two requests with a 500 ms bound took too long");
        QVERIFY(!photo.properties().isEmpty());
        QVERIFY(server.stop());
    }

    // A run's requests to a stalled application give up once the run is interrupted, and the
    // ones that follow are not sent while it stays interrupted; nothing takes the application
    // for lost, and requests go out again once the interruption is over.
    void interruptedRunStopsAskingAStalledApplication() {
        PhotoAppProcess server;
        QVERIFY(server.serve(library));
        const auto a = app();
        std::atomic<bool> interrupted{false};
        QVERIFY(a->attach([&] { return interrupted.load(); }));
        QVERIFY(!a->photoWithId(ids.at(0)).properties().isEmpty());
        QVERIFY(server.suspend());
        interrupted = true;
        QElapsedTimer timer;
        timer.start();
        QVariantMap props;
        QString why;
        for (int i = 0; i < 50; ++i)
            QVERIFY(!a->photoWithId(ids.at(i % ids.size())).properties(props, &why));
        const qint64 elapsed = timer.elapsed();
        ::kill(static_cast<pid_t>(server.pid()), SIGCONT);
        QVERIFY2(elapsed < 2000, qPrintable(QString::number(elapsed)));
        QCOMPARE(why, QStringLiteral("The request was interrupted"));
        QVERIFY(!a->lost());
        interrupted = false;
        QVERIFY(!a->photoWithId(ids.at(1)).properties().isEmpty());
        a->detach();
        QVERIFY(server.stop());
    }

    // The scan thread and the main thread use the bridge at the same time.
    void usableFromTwoThreadsAtOnce() {
        PhotoAppProcess server;
        QVERIFY(server.serve(library));
        const auto a = app();
        const QList<iPhotoPhoto> photos = a->photoLibraryAlbum().photos();
        std::atomic<int> failures{0};
        std::thread worker([&] {
            for (int round = 0; round < 200; ++round)
                for (const iPhotoPhoto& p : photos)
                    if (p.properties().value(QStringLiteral("id")).toLongLong() != p.id())
                        ++failures;
        });
        for (int round = 0; round < 200; ++round)
            if (a->photoLibraryAlbum().photoCount() != photos.size())
                ++failures;
        worker.join();
        QCOMPARE(failures.load(), 0);
        QVERIFY(server.stop());
    }
};

VUP_TEST_MAIN_CORE(tst_Bridge)
#include "tst_bridge.moc"
