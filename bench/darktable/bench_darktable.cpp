/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
// Scans a darktable library of IMAGES images (default 10,000, one in a hundred of their files
// deleted) the way a user would, and prints: the time to import them, the dry-run scan's time,
// the floor for the same work (one bare Lua chunk naming every image's file, then a stat() of
// each), their ratio, and the longest single Lua call of the scan, which is how long darktable's
// window could not respond to its user.
// Usage: bench_darktable [IMAGES]

#include "bridge/LuaText.h"
#include "scan/engine/VupMode.h"
#include "tests/support/DarktableProcess.h"
#include "tests/support/RecordingDelegate.h"
#include "tests/support/TestBus.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <sys/stat.h>

namespace {

const QByteArray kPrelude = QByteArray("local dt = require \"darktable\"\n") + LuaText::kEncodeFunction;
constexpr int kPerFolder = 1000;
// Files per import chunk; darktable sometimes stalls for many seconds in the middle of a long
// import on a busy machine, which is why an import chunk may take long to answer.
constexpr int kImportChunk = 20;
constexpr int kImportTimeoutMs = 300000;

double seconds(const QElapsedTimer& t) {
    return double(t.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char** argv) {
    TestBus bus;
    if (!bus.start())
        return 2;
    QCoreApplication app(argc, argv);
    const int images = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
    DarktableProcess darktable;
    if (const QString why = darktable.start(); !why.isEmpty()) {
        std::fprintf(stderr, "bench_darktable: %s\n", qPrintable(why));
        return 1;
    }
    QTemporaryDir dir;
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QBuffer jpeg;
    jpeg.open(QIODevice::WriteOnly);
    image.save(&jpeg, "JPEG");
    QList<QByteArray> paths;
    for (int i = 0; i < images; ++i) {
        const QString folder = dir.filePath(QStringLiteral("roll%1").arg(i / kPerFolder));
        QDir().mkpath(folder);
        const QString path = folder + QStringLiteral("/IMG_%1.jpg").arg(i, 6, 10, QLatin1Char('0'));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(jpeg.data()) != jpeg.size())
            return 1;
        paths.append(QFile::encodeName(path));
    }

    QElapsedTimer importing;
    importing.start();
    for (qsizetype at = 0; at < paths.size(); at += kImportChunk) {
        QByteArray list = "{";
        for (const QByteArray& p : paths.mid(at, kImportChunk))
            list += LuaText::literal(p) + ',';
        if (!DarktableProcess::lua(kPrelude + "for _, p in ipairs(" + list +
                                       "}) do dt.database.import(p) end return ''",
                                   kImportTimeoutMs)) {
            std::fprintf(stderr,
                         "bench_darktable: darktable did not answer the import of files %lld to %lld\n",
                         qint64(at), qint64(at + kImportChunk - 1));
            QFile log(darktable.folder() + QStringLiteral("/darktable.log"));
            if (log.open(QIODevice::ReadOnly))
                std::fprintf(stderr, "darktable %s; the end of its log:\n%s\n",
                             darktable.isRunning() ? "still runs" : "has ended",
                             log.readAll().right(3000).constData());
            return 1;
        }
    }
    std::printf("import: %d images in %.1f s (%.0f a second)\n", images, seconds(importing),
                images / seconds(importing));
    for (qsizetype i = 0; i < paths.size(); i += 100)
        QFile::remove(QFile::decodeName(paths.at(i)));

    // darktable makes thumbnails after an import and answers late meanwhile: that is not the scan's
    // time, so the scan waits until short chunks come back at once again.
    QElapsedTimer settling;
    settling.start();
    for (int quick = 0; quick < 3 && settling.elapsed() < 120000;) {
        QElapsedTimer ping;
        ping.start();
        DarktableProcess::lua("return ''");
        quick = ping.elapsed() < 20 ? quick + 1 : 0;
        QThread::msleep(200);
    }
    std::printf("darktable settled after the import in %.1f s\n", seconds(settling));

    VupMode vup;
    vup.useApplication(PhotoApplications::Kind::Darktable);
    vup.setDryRun(true);
    RecordingDelegate delegate;
    QElapsedTimer scanning;
    scanning.start();
    runOnScanThread([&] { vup.vupScan(&delegate); }, 3600000);
    const double scan = seconds(scanning);
    const ScanFindings f = vup.lastRun();
    const double longest = static_cast<const DarktableApplication&>(vup.application()).longestCallMs();

    QElapsedTimer floor;
    floor.start();
    const std::optional<QString> listed = DarktableProcess::lua(
        kPrelude +
        "local n = #dt.database local top = n > 0 and dt.database[n].id or 0 local out = {} "
        "for id = 1, top do local im = dt.database.get_image(id) if im then "
        "out[#out + 1] = vup_enc(im.path .. '/' .. im.filename) end end return table.concat(out, '\\n')");
    const double bareLua = seconds(floor);
    qsizetype gone = 0;
    for (const QString& line : listed.value_or(QString()).split(u'\n', Qt::SkipEmptyParts)) {
        struct stat info {};
        gone += ::stat(LuaText::decoded(line).value_or(QByteArray()).constData(), &info) != 0;
    }
    const double floorTime = seconds(floor);
    std::printf("dry-run scan: %.2f s, %lld images, %lld missing (outcome %d)\n", scan,
                qint64(f.photos.size()), qint64(f.missingImage.size()), int(f.outcome));
    std::printf(
        "floor: %.2f s (one Lua chunk listing every path %.2f s, then a stat of each; %lld missing)\n",
        floorTime, bareLua, qint64(gone));
    std::printf("scan / floor: %.2f\n", scan / floorTime);
    // The floor ran on what the scan had just read: darktable's image cache was warm for it. A
    // second scan is as warm.
    VupMode again;
    again.useApplication(PhotoApplications::Kind::Darktable);
    again.setDryRun(true);
    QElapsedTimer secondScan;
    secondScan.start();
    runOnScanThread([&] { again.vupScan(&delegate); }, 3600000);
    const double second = seconds(secondScan);
    std::printf("second dry-run scan: %.2f s; second scan / floor: %.2f; its longest Lua call %.1f ms\n",
                second, second / floorTime,
                static_cast<const DarktableApplication&>(again.application()).longestCallMs());
    std::printf("of the scan: loading the images %.2f s, looking at their files %.2f s\n",
                f.timings.loadingMs / 1000, f.timings.passMs / 1000);
    // What every chunk costs whatever it does: the share of the scan that grows with its batch count.
    QList<double> bare;
    for (int i = 0; i < 21; ++i) {
        QElapsedTimer one;
        one.start();
        DarktableProcess::lua("return ''");
        bare.append(double(one.nsecsElapsed()) / 1e6);
    }
    std::sort(bare.begin(), bare.end());
    std::printf("one bare chunk: %.1f ms (median of %lld)\n", bare.at(bare.size() / 2), qint64(bare.size()));
    std::printf("longest single Lua call of the scan: %.1f ms\n", longest);
    return 0;
}
