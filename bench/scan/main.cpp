/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
// Scans generated libraries the way a user would and prints where the time goes. On one library,
// bus and photoapp (PHOTOS, default 100,000):
//   - the synchronous Ping rate, the floor D-Bus sets for one request at a time;
//   - loading one request at a time, and loading with requests on their way ahead of the answer
//     being read (at several depths, the default among them), as rates and against Ping;
//   - a whole-library dry-run `vup scan` process (loading, zombie detection, per-photo pass), the
//     pass next to two stat() calls per photo in a plain loop, vup's and photoapp's peak memory.
// Then on a library of LARGE photos (default 1,000,000; 0 leaves it out): the time to generate it,
// the same dry-run scan and peak memories, and the longest stall of the window's event loop
// during a scan started from the window.
// Usage: bench_scan [PHOTOS] [LARGE]

#include "app/VupAppDelegate.h"
#include "bridge/iPhotoBridge.h"
#include "scan/engine/SBUtils.h"
#include "scan/engine/VupMode.h"
#include "tests/support/PhotoAppProcess.h"
#include "tests/support/TestBus.h"
#include "wire/PhotoAppWire.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
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
#include <unistd.h>

namespace {

// User and system time the process has used so far; -1 when it cannot be read.
double cpuSeconds(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    // The fields after the command name, which may itself hold spaces and parentheses.
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return -1;
    return double(fields.at(11).toLongLong() + fields.at(12).toLongLong()) / double(::sysconf(_SC_CLK_TCK));
}

double megabytes(long kilobytes) {
    return kilobytes / 1024.0;
}

// A demo library of `photos` photos, one in a thousand with its image gone and as many with their
// master gone, and the issue keywords known; the seconds it took, or -1.
double makeLibrary(const QString& library, int photos) {
    const int issues = std::max(1, photos / 1000);
    QElapsedTimer timer;
    timer.start();
    constexpr int kGenerousMs = 30 * 60 * 1000;
    const QList<QStringList> steps{
        {QStringLiteral("demo"), library, QStringLiteral("--photos"), QString::number(photos),
         QStringLiteral("--missing-images"), QString::number(issues), QStringLiteral("--missing-masters"),
         QString::number(issues), QStringLiteral("--zombies"), QStringLiteral("0")},
        {QStringLiteral("keyword"), QStringLiteral("add"), library, QStringLiteral("Vup Missing")},
        {QStringLiteral("keyword"), QStringLiteral("add"), library, QStringLiteral("Vup Master Missing")}};
    double demoSeconds = -1;
    for (const QStringList& args : steps) {
        const PhotoAppProcess::Result r = PhotoAppProcess::run(args, kGenerousMs);
        if (r.exitCode != 0) {
            std::fprintf(stderr, "photoapp %s failed: %s\n", qPrintable(args.first()), r.err.constData());
            return -1;
        }
        if (demoSeconds < 0)
            demoSeconds = timer.nsecsElapsed() / 1e9;
    }
    return demoSeconds;
}

// Loads the photos the way a run does (pinned to one process, waits a cancel could end) with
// `depth` requests on their way; photos per second, or -1 when the load did not complete.
double loadingRate(SBUtils& sb, const QList<iPhotoPhoto>& photos, int depth, SBUtils::ImageLists& lists) {
    sb.setRequestsInFlight(depth);
    QElapsedTimer timer;
    timer.start();
    const bool loaded = sb.loadData(photos, lists);
    const double s = timer.nsecsElapsed() / 1e9;
    if (!loaded || !sb.failedPropertyRequests().isEmpty())
        return -1;
    return photos.size() / s;
}

double pingRate(const iPhotoApplication& app, int requests) {
    QElapsedTimer timer;
    timer.start();
    int answered = 0;
    for (int i = 0; i < requests; ++i)
        answered += app.ping();
    const double s = timer.nsecsElapsed() / 1e9;
    return answered == requests ? requests / s : -1;
}

// Two stat() calls per photo, the least a per-photo pass can do; the better of two rounds.
double statLoop(const TextColumn& images, const TextColumn& masters) {
    QList<QByteArray> imagePaths, masterPaths;
    for (qsizetype i = 0; i < images.size(); ++i) {
        imagePaths.append(QFile::encodeName(images.text(i)));
        masterPaths.append(QFile::encodeName(masters.text(i)));
    }
    double best = -1;
    for (int round = 0; round < 2; ++round) {
        QElapsedTimer timer;
        timer.start();
        int found = 0;
        struct stat st {};
        for (qsizetype i = 0; i < imagePaths.size(); ++i) {
            found += ::stat(masterPaths.at(i).constData(), &st) == 0;
            found += ::stat(imagePaths.at(i).constData(), &st) == 0;
        }
        const double s = timer.nsecsElapsed() / 1e9;
        if (found >= 0 && (best < 0 || s < best))
            best = s;
    }
    return best;
}

struct ScanProcess {
    int exitCode = -1;
    long peakKb = -1;
    double seconds = 0;
    double cpuSeconds = 0; // vup's own, as last read before it ended
    QJsonObject report;
};

// The CPU time the processes of a scan used between two moments.
struct CpuShares {
    qint64 photoapp = 0;
    qint64 bus = 0;
    double photoappStart = 0;
    double busStart = 0;
    CpuShares(qint64 photoappPid, qint64 busPid)
        : photoapp(photoappPid), bus(busPid), photoappStart(cpuSeconds(photoappPid)),
          busStart(cpuSeconds(busPid)) {}
    void print(int photos, const ScanProcess& scan) const {
        const double app = cpuSeconds(photoapp) - photoappStart;
        const double daemon = cpuSeconds(bus) - busStart;
        const double perPhoto = (scan.cpuSeconds + app + daemon) / photos;
        std::printf("  CPU per photo: vup %.0f us, photoapp %.0f us, bus daemon %.0f us; with %d cores no "
                    "faster than %.0f photos/s\n",
                    scan.cpuSeconds / photos * 1e6, app / photos * 1e6, daemon / photos * 1e6,
                    QThread::idealThreadCount(), QThread::idealThreadCount() / perPhoto);
    }
};

// `vup scan --library --dry-run --recover-zombies`: every stage of a whole-library scan, nothing changed.
ScanProcess runDryRunScan(const QString& reportPath) {
    ScanProcess result;
    QProcess vup;
    setDieWithParent(vup);
    vup.setStandardOutputFile(QProcess::nullDevice());
    vup.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    vup.start(QStringLiteral(VUP_EXECUTABLE),
              {QStringLiteral("scan"), QStringLiteral("--library"), QStringLiteral("--dry-run"),
               QStringLiteral("--recover-zombies"), QStringLiteral("--report"), reportPath});
    if (!vup.waitForStarted())
        return result;
    // The high-water mark only grows: the last reading before the exit is the peak.
    while (!vup.waitForFinished(20)) {
        const long kb = PhotoAppProcess::peakKilobytes(vup.processId());
        if (kb > result.peakKb)
            result.peakKb = kb;
        result.cpuSeconds = std::max(result.cpuSeconds, cpuSeconds(vup.processId()));
    }
    result.seconds = timer.nsecsElapsed() / 1e9;
    result.exitCode = vup.exitCode();
    QFile file(reportPath);
    if (file.open(QIODevice::ReadOnly))
        result.report = QJsonDocument::fromJson(file.readAll()).object();
    return result;
}

void printDryRunScan(int photos, const ScanProcess& scan, double targetSeconds) {
    const QJsonObject timings = scan.report.value(QStringLiteral("timings")).toObject();
    const auto seconds = [&](const char* key) {
        return timings.value(QLatin1StringView(key)).toDouble() / 1000.0;
    };
    std::printf("dry-run scan of %d photos: exit %d, %.2f s in all", photos, scan.exitCode, scan.seconds);
    if (targetSeconds > 0)
        std::printf(" (target <= %.0f s)", targetSeconds);
    std::printf(
        ", %d issues\n",
        scan.report.value(QStringLiteral("counts")).toObject().value(QStringLiteral("issues")).toInt());
    std::printf("  loading %.2f s (%.0f photos/s), zombie detection %.2f s, per-photo pass %.2f s\n",
                seconds("loadingMs"), photos / seconds("loadingMs"), seconds("zombiesMs"), seconds("passMs"));
    std::printf("  vup peak memory: %.1f MB (target <= 1024 MB)\n", megabytes(scan.peakKb));
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
    // The window's own event loop, as the application runs it: a loop of processEvents() calls
    // would turn without waiting and take a core from the scan.
    QEventLoop loop;
    QObject::connect(&controller, &VupAppDelegate::nowProcessingChanged, &loop, [&](bool processing) {
        if (!processing)
            loop.quit();
    });
    controller.processLibrary();
    if (controller.nowProcessing())
        loop.exec();
    tick.stop();
    controller.waitForScanToEnd(60000);
    result.seconds = timer.nsecsElapsed() / 1e9;
    const ScanFindings findings = controller.engine()->lastRun();
    result.loadingMs = findings.timings.loadingMs;
    result.passMs = findings.timings.passMs;
    return result;
}

// The request rates, on the library being served.
void measureRates(int photos) {
    iPhotoApplication plain(QDBusConnection::sessionBus(), QString::fromLatin1(PhotoAppWire::kService));
    constexpr int kPings = 20000;
    pingRate(plain, kPings / 4); // warm-up
    const double ping = pingRate(plain, kPings);
    std::printf("synchronous Ping:                     %8.0f /s\n", ping);

    auto run = std::make_shared<iPhotoApplication>(QDBusConnection::sessionBus(),
                                                   QString::fromLatin1(PhotoAppWire::kService));
    if (!run->attach([] { return false; }))
        return;
    SBUtils sb(run);
    const QList<iPhotoPhoto> all = sb.getAllImages();
    // Enough photos for a steady rate; the whole library for the default depth.
    const QList<iPhotoPhoto> some = all.mid(0, 20000);
    SBUtils::ImageLists lists;
    const double sequential = loadingRate(sb, some, 1, lists);
    std::printf("loading, one request at a time:       %8.0f /s (%.2fx Ping)\n", sequential,
                sequential / ping);
    for (const int depth : {16, 64, 256}) {
        const double rate = loadingRate(sb, some, depth, lists);
        std::printf("loading, %3d requests on their way:   %8.0f /s (%.2fx Ping)\n", depth, rate,
                    rate / ping);
    }
    const double pipelined = loadingRate(sb, all, SBUtils::kDefaultRequestsInFlight, lists);
    std::printf("loading all %d photos, %d on their way: %.0f /s (%.2fx Ping; target >= 2.50)\n", photos,
                SBUtils::kDefaultRequestsInFlight, pipelined, pipelined / ping);
    std::printf("  two stat() per photo in a plain loop: %.3f s\n",
                statLoop(lists.pathList, lists.originalsPathList));
    run->detach();
}

} // namespace

int main(int argc, char** argv) {
    TestBus testBus;
    if (!testBus.start())
        return 2;
    QTemporaryDir dir;
    // The window's defaults live in the bench's own folder; its info sheet stays shut.
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_STATE_HOME", dir.filePath(QStringLiteral("state")).toUtf8());
    QDir().mkpath(dir.filePath(QStringLiteral("config/vup")));
    {
        QFile conf(dir.filePath(QStringLiteral("config/vup/Vup.conf")));
        if (conf.open(QIODevice::WriteOnly))
            conf.write("[General]\nskipInfoScreen=YES\n");
    }
    QApplication app(argc, argv);
    // Figures appear as they are measured, also when the output goes to a file.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const QStringList args = QCoreApplication::arguments();
    const int photos = args.size() > 1 ? args.at(1).toInt() : 100000;
    const int large = args.size() > 2 ? args.at(2).toInt() : 1000000;

    const QString library = dir.filePath(QStringLiteral("Bench.photolibrary"));
    const double made = makeLibrary(library, photos);
    if (made < 0)
        return 1;
    std::printf("library of %d photos made in %.1f s\n", photos, made);
    {
        PhotoAppProcess server;
        if (!server.serve(library)) {
            std::fprintf(stderr, "serve failed\n");
            return 1;
        }
        measureRates(photos);
        const CpuShares cpu(server.pid(), testBus.pid());
        const ScanProcess scan = runDryRunScan(dir.filePath(QStringLiteral("report.json")));
        printDryRunScan(photos, scan, 0);
        cpu.print(photos, scan);
        std::printf("photoapp peak memory: %.1f MB (target <= 300 MB)\n",
                    megabytes(PhotoAppProcess::peakKilobytes(server.pid())));
        server.stop();
    }
    QDir(library).removeRecursively();
    if (large <= 0)
        return 0;

    const QString big = dir.filePath(QStringLiteral("Large.photolibrary"));
    const double bigMade = makeLibrary(big, large);
    if (bigMade < 0)
        return 1;
    std::printf("library of %d photos made in %.1f s (target <= 120 s)\n", large, bigMade);
    PhotoAppProcess server;
    if (!server.serve(big)) {
        std::fprintf(stderr, "serve failed\n");
        return 1;
    }
    const CpuShares cpu(server.pid(), testBus.pid());
    const ScanProcess scan = runDryRunScan(dir.filePath(QStringLiteral("large.json")));
    printDryRunScan(large, scan, 60);
    cpu.print(large, scan);
    const WindowRun window = runInWindow();
    std::printf("scan of %d photos from the window: %.2f s (loading %.2f s, per-photo pass %.2f s)\n", large,
                window.seconds, window.loadingMs / 1000.0, window.passMs / 1000.0);
    std::printf("  longest event-loop stall %.1f ms (target <= 50 ms; timer every %d ms, %lld ticks), "
                "ended under the status \"%s\"\n",
                window.longestStallMs, kTickMs, window.ticks, qPrintable(window.stallStatus));
    std::printf("photoapp peak memory: %.1f MB (target <= 300 MB)\n",
                megabytes(PhotoAppProcess::peakKilobytes(server.pid())));
    server.stop();
    return 0;
}
