// Rates of bridge requests against a running photoapp on the session bus: the trivial call that
// D-Bus itself bounds, and the property request that every scan makes once per photo.

#include "bridge/PhotoAppWire.h"
#include "bridge/iPhotoBridge.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    QCoreApplication qapp(argc, argv);
    const int pingCalls = argc > 1 ? std::atoi(argv[1]) : 20000;
    const qsizetype propertyCalls = argc > 2 ? std::atoll(argv[2]) : -1; // -1: every photo

    iPhotoApplication app(QDBusConnection::sessionBus(), QString::fromLatin1(PhotoAppWire::kService));
    if (!app.isRunning()) {
        std::fprintf(stderr, "bench_bridge: no photo application on the session bus\n");
        return 1;
    }

    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < pingCalls; ++i)
        if (!app.ping()) {
            std::fprintf(stderr, "bench_bridge: ping failed\n");
            return 1;
        }
    const double pingSeconds = timer.nsecsElapsed() / 1e9;
    const double pingRate = pingCalls / pingSeconds;

    timer.restart();
    const QList<iPhotoPhoto> photos = app.photoLibraryAlbum().photos();
    const double listSeconds = timer.nsecsElapsed() / 1e9;

    const qsizetype n = propertyCalls < 0 ? photos.size() : std::min(propertyCalls, photos.size());
    qsizetype answered = 0;
    timer.restart();
    for (qsizetype i = 0; i < n; ++i)
        if (!photos.at(i).properties().isEmpty())
            ++answered;
    const double propSeconds = timer.nsecsElapsed() / 1e9;
    const double propRate = n / propSeconds;

    // The same requests without decoding the answer: tells the service's cost from the bridge's.
    const qsizetype rawCalls = std::min<qsizetype>(n, 20000);
    timer.restart();
    for (qsizetype i = 0; i < rawCalls; ++i) {
        QDBusMessage msg = QDBusMessage::createMethodCall(
            QString::fromLatin1(PhotoAppWire::kService), PhotoAppWire::photoPath(photos.at(i).id()),
            QString::fromLatin1(PhotoAppWire::kPhotoInterface), QStringLiteral("Properties"));
        QDBusConnection::sessionBus().call(msg);
    }
    const double rawRate = rawCalls / (timer.nsecsElapsed() / 1e9);

    std::printf("library photos            %lld (listed in %.3f s)\n", static_cast<long long>(photos.size()),
                listSeconds);
    std::printf("trivial call (Ping)       %d calls in %.3f s = %.0f /s\n", pingCalls, pingSeconds, pingRate);
    std::printf("properties requests       %lld calls in %.3f s = %.0f /s (%lld answered)\n",
                static_cast<long long>(n), propSeconds, propRate, static_cast<long long>(answered));
    std::printf("properties, not decoded   %.0f /s\n", rawRate);
    std::printf("properties / trivial      %.2f (target >= 0.80)\n", propRate / pingRate);
    return answered == n ? 0 : 1;
}
