/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
// Imports JPEGs carrying many IPTC keywords and prints what each import costs: through the
// command line (the import alone), and through a serving photoapp, where it also prints the
// longest a write request (selecting a photo) waited while the import ran. The cost should grow
// in proportion to the keywords a file carries, never faster.
// Usage: bench_photoapp [KEYWORDS...]   (default 50000 100000 200000)

#include "tests/photoapp/IptcKeywords.h"
#include "tests/support/PhotoAppProcess.h"
#include "tests/support/TestBus.h"
#include "wire/PhotoAppWire.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

constexpr int kRepeats = 3;

QDBusMessage call(const QString& path, const char* interface, const char* method,
                  const QVariantList& args = {}) {
    return PhotoAppProcess::request(path, interface, method, args, 120000);
}

bool importing() {
    return call(QString::fromLatin1(PhotoAppWire::kApplicationPath), PhotoAppWire::kApplicationInterface,
                "Importing")
        .arguments()
        .value(0)
        .toBool();
}

struct Figures {
    double cliSeconds = 0;     // best of kRepeats
    double servedSeconds = 0;  // from ImportFrom until Importing is false
    double longestWriteMs = 0; // a Select answered while the import ran
};

bool measure(const QTemporaryDir& dir, const QString& seed, const QString& jpeg, int n, Figures* f) {
    f->cliSeconds = 1e9;
    for (int r = 0; r < kRepeats; ++r) {
        const QString library = dir.filePath(QStringLiteral("Cli-%1-%2.photolibrary").arg(n).arg(r));
        if (PhotoAppProcess::run({QStringLiteral("create"), library}).exitCode != 0)
            return false;
        QElapsedTimer timer;
        timer.start();
        const PhotoAppProcess::Result imported =
            PhotoAppProcess::run({QStringLiteral("import"), library, jpeg});
        f->cliSeconds = std::min(f->cliSeconds, timer.nsecsElapsed() / 1e9);
        if (imported.exitCode != 0) {
            std::fprintf(stderr, "import failed: %s\n", imported.err.constData());
            return false;
        }
    }

    // Served: a photo already there to select while the import runs.
    const QString library = dir.filePath(QStringLiteral("Served-%1.photolibrary").arg(n));
    if (PhotoAppProcess::run({QStringLiteral("create"), library}).exitCode != 0 ||
        PhotoAppProcess::run({QStringLiteral("import"), library, seed}).exitCode != 0)
        return false;
    PhotoAppProcess server;
    if (!server.serve(library))
        return false;
    QElapsedTimer timer;
    timer.start();
    const QDBusMessage accepted =
        call(PhotoAppWire::albumPath(1), PhotoAppWire::kAlbumInterface, "ImportFrom", {jpeg, true});
    if (!accepted.arguments().value(0).toBool())
        return false;
    while (importing()) {
        QElapsedTimer write;
        write.start();
        call(PhotoAppWire::photoPath(1), PhotoAppWire::kPhotoInterface, "Select");
        f->longestWriteMs = std::max(f->longestWriteMs, write.nsecsElapsed() / 1e6);
    }
    f->servedSeconds = timer.nsecsElapsed() / 1e9;
    return server.stop();
}

} // namespace

int main(int argc, char** argv) {
    TestBus testBus;
    if (!testBus.start())
        return 2;
    QCoreApplication app(argc, argv);
    QList<int> counts;
    for (const QString& a : QCoreApplication::arguments().mid(1))
        counts.append(a.toInt());
    if (counts.isEmpty())
        counts = {50000, 100000, 200000};

    QTemporaryDir dir;
    const QString seed = dir.filePath(QStringLiteral("seed.jpg"));
    if (PhotoAppProcess::run({QStringLiteral("keyword-image"), seed, QStringLiteral("Seed")}).exitCode != 0)
        return 1;
    std::printf("%10s %10s %14s %14s %18s\n", "keywords", "file KB", "import (CLI)", "import (bus)",
                "longest write");
    double first = 0;
    int firstCount = 0;
    for (const int n : counts) {
        const QString jpeg = dir.filePath(QStringLiteral("keywords-%1.jpg").arg(n));
        QFile::remove(jpeg);
        if (!QFile::copy(seed, jpeg))
            return 1;
        QList<QByteArray> keywords;
        keywords.reserve(n);
        for (int i = 0; i < n; ++i)
            keywords.append(QByteArray("keyword ") + QByteArray::number(i));
        QString error;
        if (!IptcKeywords::write(jpeg, keywords, &error)) {
            std::fprintf(stderr, "cannot write %d keywords: %s\n", n, qPrintable(error));
            return 1;
        }
        Figures f;
        if (!measure(dir, seed, jpeg, n, &f))
            return 1;
        std::printf("%10d %10lld %12.3f s %12.3f s %15.1f ms\n", n, QFileInfo(jpeg).size() / 1024,
                    f.cliSeconds, f.servedSeconds, f.longestWriteMs);
        if (firstCount == 0) {
            first = f.cliSeconds;
            firstCount = n;
        } else {
            std::printf("%10s %d keywords cost %.2fx %d (%.2fx the keywords; target: at most 2x for 2x)\n",
                        "", n, f.cliSeconds / first, firstCount, double(n) / firstCount);
        }
    }
    return 0;
}
