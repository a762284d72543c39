/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
// Serves a generated library on a private bus and measures how many requests per second the
// bridge gets answered: the empty Ping, the floor that D-Bus itself sets, against the property
// request that every scan makes once per photo (through the bridge, decoded, and raw, and the way a
// run sends it: pinned to one process and waited for in a loop a cancel can end). Also
// prints the time to generate the library and the server's peak memory.
// Usage: bench_bridge [PHOTOS] [REQUESTS]

#include "bridge/iPhotoBridge.h"
#include "tests/support/PhotoAppProcess.h"
#include "tests/support/TestBus.h"
#include "wire/PhotoAppWire.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <unistd.h>

namespace {

// Seconds taken by `requests` calls of `request`, which answers whether it got an answer.
double seconds(int requests, const std::function<bool()>& request) {
    QElapsedTimer timer;
    timer.start();
    int failures = 0;
    for (int i = 0; i < requests; ++i)
        if (!request())
            ++failures;
    if (failures)
        std::printf("  (%d of %d requests failed)\n", failures, requests);
    return timer.nsecsElapsed() / 1e9;
}

// CPU seconds (user and system) the process has used so far.
double cpuSeconds(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray line = stat.readAll();
    // Fields after the command, which may hold blanks and ends with the last ')'.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return 0;
    return (fields.at(11).toDouble() + fields.at(12).toDouble()) /
           static_cast<double>(::sysconf(_SC_CLK_TCK));
}

} // namespace

int main(int argc, char** argv) {
    TestBus testBus;
    if (!testBus.start())
        return 2;
    QCoreApplication qapp(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const int photos = args.size() > 1 ? args.at(1).toInt() : 100000;
    const int requests = args.size() > 2 ? args.at(2).toInt() : 20000;

    QTemporaryDir dir;
    const QString library = dir.filePath(QStringLiteral("Bench.photolibrary"));
    QElapsedTimer timer;
    timer.start();
    const PhotoAppProcess::Result made = PhotoAppProcess::run(
        {QStringLiteral("demo"), library, QStringLiteral("--photos"), QString::number(photos),
         QStringLiteral("--missing-images"), QStringLiteral("0"), QStringLiteral("--missing-masters"),
         QStringLiteral("0"), QStringLiteral("--zombies"), QStringLiteral("0")});
    if (made.exitCode != 0) {
        std::fprintf(stderr, "demo failed: %s\n", made.err.constData());
        return 1;
    }
    std::printf("photoapp demo, %d photos:          %.2f s\n", photos, timer.elapsed() / 1000.0);

    PhotoAppProcess server;
    if (!server.serve(library)) {
        std::fprintf(stderr, "serve failed\n");
        return 1;
    }
    iPhotoApplication app(QDBusConnection::sessionBus(), QString::fromLatin1(PhotoAppWire::kService));
    timer.restart();
    const QList<iPhotoPhoto> all = app.photoLibraryAlbum().photos();
    std::printf("photos of the library album:       %lld in %.1f ms\n", static_cast<long long>(all.size()),
                timer.nsecsElapsed() / 1e6);
    if (all.isEmpty())
        return 1;

    QRandomGenerator random(42);
    const auto ping = [&] {
        return app.ping();
    };
    const auto properties = [&] {
        return !all.at(random.bounded(all.size())).properties().isEmpty();
    };
    const auto rawProperties = [&] {
        const QDBusMessage msg = QDBusMessage::createMethodCall(
            QString::fromLatin1(PhotoAppWire::kService),
            PhotoAppWire::photoPath(all.at(random.bounded(all.size())).id()),
            QString::fromLatin1(PhotoAppWire::kPhotoInterface), QStringLiteral("Properties"));
        return QDBusConnection::sessionBus().call(msg).type() == QDBusMessage::ReplyMessage;
    };

    // A run's requests: pinned to one process, each waited for in a loop that a cancel can end.
    iPhotoApplication run(QDBusConnection::sessionBus(), QString::fromLatin1(PhotoAppWire::kService));
    if (!run.attach([] { return false; }))
        return 1;
    const QList<iPhotoPhoto> pinned = run.photoLibraryAlbum().photos();
    const auto runProperties = [&] {
        return !pinned.at(random.bounded(pinned.size())).properties().isEmpty();
    };

    seconds(requests / 4, ping); // warm-up
    // Interleaved rounds, so a change of machine load weighs on all alike.
    constexpr int kRounds = 10;
    double pingSeconds = 0;
    double propertiesSeconds = 0;
    double rawSeconds = 0;
    double runSeconds = 0;
    // The server's own CPU time per request does not depend on how busy the machine is.
    double pingCpu = 0;
    double propertiesCpu = 0;
    const qint64 pid = server.pid();
    for (int round = 0; round < kRounds; ++round) {
        double cpu = cpuSeconds(pid);
        pingSeconds += seconds(requests / kRounds, ping);
        pingCpu += cpuSeconds(pid) - cpu;
        cpu = cpuSeconds(pid);
        propertiesSeconds += seconds(requests / kRounds, properties);
        propertiesCpu += cpuSeconds(pid) - cpu;
        rawSeconds += seconds(requests / kRounds, rawProperties);
        runSeconds += seconds(requests / kRounds, runProperties);
    }
    const double pingRate = requests / pingSeconds;
    const double propertiesRate = requests / propertiesSeconds;
    std::printf("trivial call (Ping):               %8.0f /s\n", pingRate);
    std::printf("properties through the bridge:     %8.0f /s (%.2f of Ping; target >= 0.80)\n",
                propertiesRate, propertiesRate / pingRate);
    std::printf("properties, answer not decoded:    %8.0f /s\n", requests / rawSeconds);
    std::printf("properties during a run:           %8.0f /s (%.2f of the plain bridge request)\n",
                requests / runSeconds, propertiesSeconds / runSeconds);
    std::printf("photoapp CPU per request:          %8.1f us Ping, %.1f us properties\n",
                pingCpu * 1e6 / requests, propertiesCpu * 1e6 / requests);
    std::printf("photoapp peak memory:              %8.1f MB\n",
                PhotoAppProcess::peakKilobytes(server.pid()) / 1024.0);
    server.stop();
    return 0;
}
