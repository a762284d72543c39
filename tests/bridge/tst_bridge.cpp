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
#include <csignal>
#include <thread>

class tst_Bridge : public QObject {
    Q_OBJECT

private:
    TestLibrary lib;
    QList<qint64> ids;

    std::shared_ptr<iPhotoApplication> app(int timeoutMs = 5000) {
        return std::make_shared<iPhotoApplication>(QDBusConnection::sessionBus(),
                                                   QString::fromLatin1(PhotoAppWire::kService), timeoutMs);
    }

private slots:
    // What darktable's answers decode to is checked against a real darktable; an answer it never
    // sends (a cut or malformed escape, a character beyond ASCII) is refused, not guessed at.
    void brokenLuaAnswersAreRefused() {
        for (const QString& broken : {QStringLiteral("%4"), QStringLiteral("a%zz"), QStringLiteral("\u00e9")})
            QVERIFY2(!LuaText::decoded(broken), qPrintable(broken));
    }

    void initTestCase() {
        QVERIFY(lib.demo(6, 0, 0, 0));
        for (const QJsonValue& p : lib.dump().value(QStringLiteral("photos")).toArray())
            ids.append(p.toObject().value(QStringLiteral("id")).toInteger());
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
