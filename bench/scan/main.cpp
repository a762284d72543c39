// Scans a generated library the way a user would and prints where the time goes:
//   - loading, next to the bare rate of `properties` requests through the bridge;
//   - the per-photo pass, next to two stat() calls per photo in a plain loop on the same paths;
//   - the peak memory of a `vup scan` process;
//   - the longest stall of the window's event loop during a scan started from the window.
// Usage: bench_scan [PHOTOS]   (default 100000)

#include "app/VupAppDelegate.h"
#include "bridge/iPhotoBridge.h"
#include "scan/VupMode.h"
#include "tests/support/PhotoAppProcess.h"
#include "tests/support/TestBus.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMainWindow>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <sys/stat.h>

namespace {

bool photoapp(const QStringList& args) {
    const PhotoAppProcess::Result r = PhotoAppProcess::run(args);
    if (r.exitCode != 0)
        std::fprintf(stderr, "photoapp %s failed: %s\n", qPrintable(args.first()), r.err.constData());
    return r.exitCode == 0;
}

// The bare cost of loading: one `properties` request per photo, nothing kept.
double bareProperties(const QList<iPhotoPhoto>& photos) {
    QElapsedTimer timer;
    timer.start();
    qint64 answered = 0;
    for (const iPhotoPhoto& p : photos)
        answered += !p.properties().isEmpty();
    const double s = timer.nsecsElapsed() / 1e9;
    if (answered != photos.size())
        std::printf("  (%lld of %lld property requests answered)\n", answered, qint64(photos.size()));
    return s;
}

// Two stat() calls per photo, the least a per-photo pass can do.
double statLoop(const QList<QByteArray>& images, const QList<QByteArray>& masters) {
    QElapsedTimer timer;
    timer.start();
    int found = 0;
    struct stat st {};
    for (qsizetype i = 0; i < images.size(); ++i) {
        found += ::stat(masters.at(i).constData(), &st) == 0;
        found += ::stat(images.at(i).constData(), &st) == 0;
    }
    const double s = timer.nsecsElapsed() / 1e9;
    if (found < 0)
        std::puts("");
    return s;
}

struct ScanProcess {
    int exitCode = -1;
    long peakKb = -1;
    double seconds = 0;
    QJsonObject report;
};

ScanProcess runVupScan(const QString& reportPath) {
    ScanProcess result;
    QProcess vup;
    setDieWithParent(vup);
    vup.setStandardOutputFile(QProcess::nullDevice());
    vup.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    vup.start(QStringLiteral(VUP_EXECUTABLE),
              {QStringLiteral("scan"), QStringLiteral("--library"), QStringLiteral("--yes"),
               QStringLiteral("--report"), reportPath});
    if (!vup.waitForStarted())
        return result;
    // The high-water mark only grows: the last reading before the exit is the peak.
    while (!vup.waitForFinished(20)) {
        const long kb = PhotoAppProcess::peakKilobytes(vup.processId());
        if (kb > result.peakKb)
            result.peakKb = kb;
    }
    result.seconds = timer.nsecsElapsed() / 1e9;
    result.exitCode = vup.exitCode();
    QFile file(reportPath);
    if (file.open(QIODevice::ReadOnly))
        result.report = QJsonDocument::fromJson(file.readAll()).object();
    return result;
}

// The window's timer: often enough to see a stall of a few frames, seldom enough not to load the machine.
constexpr int kTickMs = 5;

struct WindowRun {
    double seconds = 0;
    double loadingMs = 0;
    double passMs = 0;
    double longestStallMs = 0;
    QString stallStatus; // the status shown when the longest stall ended
    qint64 ticks = 0;
};

// A scan started from the window's button, with a timer measuring how long the event loop is
// ever kept from turning.
WindowRun runInWindow() {
    WindowRun result;
    VupAppDelegate controller;
    controller.window()->show();
    controller.applicationDidFinishLaunching();
    QElapsedTimer sinceTick;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const double gap = sinceTick.nsecsElapsed() / 1e6;
        if (gap > result.longestStallMs) {
            result.longestStallMs = gap;
            result.stallStatus = controller.statusLabel();
        }
        ++result.ticks;
        sinceTick.restart();
    });
    QElapsedTimer timer;
    timer.start();
    sinceTick.start();
    tick.start(kTickMs);
    controller.processLibrary();
    while (controller.nowProcessing())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    tick.stop();
    controller.waitForScanToEnd(60000);
    result.seconds = timer.nsecsElapsed() / 1e9;
    const ScanFindings findings = controller.engine()->lastRun();
    result.loadingMs = findings.timings.loadingMs;
    result.passMs = findings.timings.passMs;
    return result;
}

} // namespace

int main(int argc, char** argv) {
    TestBus testBus;
    if (!testBus.start())
        return 2;
    QTemporaryDir dir;
    // The window's defaults live in the bench's own folder; its info sheet stays shut.
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toUtf8());
    QDir().mkpath(dir.filePath(QStringLiteral("config/vup")));
    {
        QFile conf(dir.filePath(QStringLiteral("config/vup/Vup.conf")));
        if (conf.open(QIODevice::WriteOnly))
            conf.write("[General]\nskipInfoScreen=YES\n");
    }
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const int photos = args.size() > 1 ? args.at(1).toInt() : 100000;
    const int issues = std::max(1, photos / 1000);

    const QString library = dir.filePath(QStringLiteral("Bench.photolibrary"));
    QElapsedTimer timer;
    timer.start();
    if (!photoapp({QStringLiteral("demo"), library, QStringLiteral("--photos"), QString::number(photos),
                   QStringLiteral("--missing-images"), QString::number(issues),
                   QStringLiteral("--missing-masters"), QString::number(issues), QStringLiteral("--zombies"),
                   QStringLiteral("0")}) ||
        !photoapp(
            {QStringLiteral("keyword"), QStringLiteral("add"), library, QStringLiteral("Vup Missing")}) ||
        !photoapp({QStringLiteral("keyword"), QStringLiteral("add"), library,
                   QStringLiteral("Vup Master Missing")}))
        return 1;
    std::printf("library: %d photos (%d with the image gone, %d with the master gone), made in %.1f s\n",
                photos, issues, issues, timer.elapsed() / 1000.0);

    // Paths for the plain stat loop, straight from the catalogue.
    QList<QByteArray> images, masters;
    {
        const PhotoAppProcess::Result dump = PhotoAppProcess::run({QStringLiteral("dump"), library});
        for (const QJsonValue& v :
             QJsonDocument::fromJson(dump.out).object().value(QStringLiteral("photos")).toArray()) {
            const QJsonObject p = v.toObject();
            images.append(QFile::encodeName(p.value(QStringLiteral("imagePath")).toString()));
            masters.append(QFile::encodeName(p.value(QStringLiteral("originalPath")).toString()));
        }
    }

    PhotoAppProcess server;
    if (!server.serve(library)) {
        std::fprintf(stderr, "serve failed\n");
        return 1;
    }

    iPhotoApplication bridge(QDBusConnection::sessionBus(), QStringLiteral("com.apple.iPhoto"));
    const QList<iPhotoPhoto> all = bridge.photoLibraryAlbum().photos();
    const double bare = bareProperties(all);
    std::printf("bare properties requests: %lld in %.2f s, %.0f/s\n", qint64(all.size()), bare,
                all.size() / bare);

    const ScanProcess scan = runVupScan(dir.filePath(QStringLiteral("report.json")));
    const QJsonObject timings = scan.report.value(QStringLiteral("timings")).toObject();
    const double loadingS = timings.value(QStringLiteral("loadingMs")).toDouble() / 1000.0;
    const double passS = timings.value(QStringLiteral("passMs")).toDouble() / 1000.0;
    const double taggingS = timings.value(QStringLiteral("taggingMs")).toDouble() / 1000.0;
    std::printf(
        "vup scan --library: exit %d, %.2f s in all, %s issues\n", scan.exitCode, scan.seconds,
        qPrintable(QString::number(
            scan.report.value(QStringLiteral("counts")).toObject().value(QStringLiteral("issues")).toInt())));
    std::printf(
        "  loading:        %7.2f s, %.0f photos/s  (%.2fx the bare properties time; target <= 1.30)\n",
        loadingS, photos / loadingS, loadingS / bare);
    const double stat1 = statLoop(images, masters);
    const double stat2 = statLoop(images, masters);
    const double statS = std::min(stat1, stat2);
    std::printf(
        "  per-photo pass: %7.3f s  (plain loop of two stat() per photo: %.3f s; %.2fx; target <= 2.00)\n",
        passS, statS, passS / statS);
    std::printf("  tagging:        %7.3f s for %d photos\n", taggingS, 2 * issues);
    std::printf("  vup peak memory: %.1f MB (target < 200 MB)\n", scan.peakKb / 1024.0);

    const WindowRun window = runInWindow();
    std::printf(
        "scan from the window: %.2f s, longest event-loop stall %.1f ms (timer every %d ms, %lld ticks)\n",
        window.seconds, window.longestStallMs, kTickMs, window.ticks);
    std::printf("  loading %.2f s, per-photo pass %.3f s; the longest stall ended under the status \"%s\"\n",
                window.loadingMs / 1000.0, window.passMs / 1000.0, qPrintable(window.stallStatus));
    std::printf("photoapp peak memory: %.1f MB\n", PhotoAppProcess::peakKilobytes(server.pid()) / 1024.0);
    server.stop();
    return 0;
}
