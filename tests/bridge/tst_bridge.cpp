/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
// The bridge against a live photoapp on the test's private session bus.

#include "bridge/LuaText.h"
#include "bridge/iPhotoBridge.h"
#include "tests/support/PhotoAppProcess.h"
#include "tests/support/TestLibrary.h"
#include "tests/support/TestMain.h"
#include "wire/PhotoAppWire.h"

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonObject>
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
    TestLibrary lib;
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
        QVERIFY(lib.demo(6, 0, 0, 0));
        ids = photoIds(lib.dump());
        QCOMPARE(ids.size(), 6);
    }

    // A hung application (stopped, not dead) holds no request longer than the bridge's bound.
    void hungApplicationIsBoundedByTheTimeout() {
        PhotoAppProcess server;
        QVERIFY(server.serve(lib.path()));
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
        QVERIFY(server.serve(lib.path()));
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
        QVERIFY(server.serve(lib.path()));
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
