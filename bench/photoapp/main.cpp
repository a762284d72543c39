// Serves a generated library and measures, on a private bus, how many requests per second the
// photo application answers: the empty Ping as the floor of a round trip, then the requests a scan
// makes per photo. Also prints the time to generate the library and the server's peak memory.
// Usage: bench_photoapp [PHOTOS] [REQUESTS]

#include "bridge/PhotoAppWire.h"
#include "tests/support/PhotoAppProcess.h"
#include "tests/support/TestBus.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

namespace {

// Seconds taken by `requests` requests made by `make`.
double seconds(int requests, const std::function<QDBusMessage(int)>& make) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    QElapsedTimer timer;
    timer.start();
    int failures = 0;
    for (int i = 0; i < requests; ++i) {
        if (bus.call(make(i)).type() != QDBusMessage::ReplyMessage)
            ++failures;
    }
    if (failures)
        std::printf("  (%d of %d requests failed)\n", failures, requests);
    return timer.nsecsElapsed() / 1e9;
}

double rate(int requests, const std::function<QDBusMessage(int)>& make) {
    return requests / seconds(requests, make);
}

QDBusMessage call(const QString& path, const char* interface, const char* method) {
    return QDBusMessage::createMethodCall(QString::fromLatin1(PhotoAppWire::kService), path,
                                          QString::fromLatin1(interface), QString::fromLatin1(method));
}

long peakKilobytes(qint64 pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').constFirst().toLong();
    }
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    TestBus testBus;
    if (!testBus.start())
        return 2;
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const int photos = args.size() > 1 ? args.at(1).toInt() : 100000;
    const int requests = args.size() > 2 ? args.at(2).toInt() : 20000;

    QTemporaryDir dir;
    const QString library = dir.filePath(QStringLiteral("Bench.photolibrary"));
    QElapsedTimer timer;
    timer.start();
    const PhotoAppProcess::Result made = PhotoAppProcess::run(
        {QStringLiteral("demo"), library, QStringLiteral("--photos"), QString::number(photos)});
    if (made.exitCode != 0) {
        std::fprintf(stderr, "demo failed: %s\n", made.err.constData());
        return 1;
    }
    std::printf("photoapp demo, %d photos: %.2f s\n", photos, timer.elapsed() / 1000.0);

    PhotoAppProcess server;
    if (!server.serve(library)) {
        std::fprintf(stderr, "serve failed\n");
        return 1;
    }
    const QString app_ = QString::fromLatin1(PhotoAppWire::kApplicationPath);
    auto ping = [&](int) {
        return call(app_, PhotoAppWire::kApplicationInterface, "Ping");
    };
    QRandomGenerator random(42);
    auto properties = [&](int) {
        return call(PhotoAppWire::photoPath(1 + random.bounded(photos)), PhotoAppWire::kPhotoInterface,
                    "Properties");
    };
    seconds(requests / 4, ping); // warm-up
    // Interleaved rounds, so a change of machine load weighs on both alike.
    constexpr int kRounds = 10;
    double pingSeconds = 0;
    double propertiesSeconds = 0;
    for (int round = 0; round < kRounds; ++round) {
        pingSeconds += seconds(requests / kRounds, ping);
        propertiesSeconds += seconds(requests / kRounds, properties);
    }
    const double pingRate = requests / pingSeconds;
    const double propertiesRate = requests / propertiesSeconds;
    std::printf("Ping:       %8.0f requests/s\n", pingRate);
    std::printf("Properties: %8.0f requests/s (%.2f of Ping)\n", propertiesRate, propertiesRate / pingRate);
    const double version =
        rate(requests, [&](int) { return call(app_, PhotoAppWire::kApplicationInterface, "Version"); });
    std::printf("Version:    %8.0f requests/s\n", version);
    timer.restart();
    const double photoList = rate(
        5, [&](int) { return call(PhotoAppWire::albumPath(1), PhotoAppWire::kAlbumInterface, "Photos"); });
    std::printf("Photos of the library album (%d paths): %.1f ms each\n", photos, 1000.0 / photoList);
    std::printf("serve peak memory: %.1f MB\n", peakKilobytes(server.pid()) / 1024.0);
    server.stop();
    return 0;
}
