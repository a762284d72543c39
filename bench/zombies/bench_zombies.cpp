/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
// Zombie detection on a large Masters tree, next to the same work done by plain tools, then the
// recovery of many zombies with its journal.
//
//   bench_zombies [--files N] [--folders F] [--zombies Z] [--missing M] [--dir PATH] [--keep]
//                 [--recovery R] [--recovery-dir PATH]
//   (PATH defaults to /dev/shm when it exists; the recovery's to the temporary folder, a disk)
//
// Generates a library whose Masters folder holds N empty files in F folders; the reference list
// names N - Z of them plus M paths that do not exist. Prints the time of the detection, of
// `find Masters -type f | sort`, of a comm-style difference of the same sets, and peak memory.
// Then recovers R zombies (default 10000, 0 for none) and prints what its journal costs.

#include "bench/zombies/RecoveryBench.h"
#include "scan/zombies/ZombieDetector.h"
#include "tests/support/ProcessStatus.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// Drops the peak so the next reading covers only what follows.
void resetPeak() {
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

double shellSeconds(const QString& script, QByteArray* out = nullptr) {
    QElapsedTimer timer;
    QProcess sh;
    sh.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    timer.start();
    sh.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script});
    sh.waitForFinished(-1);
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    if (out)
        *out = sh.readAllStandardOutput();
    return seconds;
}

QString arg(const QStringList& args, const QString& name, const QString& fallback) {
    const qsizetype at = args.indexOf(name);
    return at >= 0 && at + 1 < args.size() ? args[at + 1] : fallback;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int files = arg(args, QStringLiteral("--files"), QStringLiteral("1000000")).toInt();
    const int folders = qMax(1, arg(args, QStringLiteral("--folders"), QStringLiteral("2000")).toInt());
    const int zombies = arg(args, QStringLiteral("--zombies"), QStringLiteral("10000")).toInt();
    const int missing = arg(args, QStringLiteral("--missing"), QStringLiteral("10000")).toInt();
    QTextStream out(stdout);

    // tmpfs by default: a million file creations on a shared disk would dominate the run.
    const QString defaultDir =
        QFileInfo(QStringLiteral("/dev/shm")).isDir() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    QTemporaryDir temp(arg(args, QStringLiteral("--dir"), defaultDir) + QStringLiteral("/vzb-XXXXXX"));
    if (!temp.isValid()) {
        std::fputs("bench_zombies: cannot make a working folder\n", stderr);
        return 1;
    }
    temp.setAutoRemove(!args.contains(QStringLiteral("--keep")));
    const QString masters = temp.path() + QStringLiteral("/L.photolibrary/Masters");
    const QByteArray mastersNative = QFile::encodeName(masters);

    // Empty files in a few thousand folders: the walk's cost is per entry, not per byte.
    QElapsedTimer timer;
    timer.start();
    QDir().mkpath(masters);
    QVariantList referenced;
    referenced.reserve(files - zombies + missing);
    const int perFolder = (files + folders - 1) / folders;
    QByteArray path;
    for (int i = 0; i < files; ++i) {
        const int folder = i / perFolder;
        const QByteArray dir = mastersNative + QByteArray("/d") + QByteArray::number(folder);
        if (i % perFolder == 0)
            ::mkdir(dir.constData(), 0755);
        path = dir + "/IMG_" + QByteArray::number(i) + ".jpg";
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (fd < 0) {
            std::perror(path.constData());
            return 1;
        }
        ::close(fd);
        // Every (files / zombies)-th file is left unreferenced.
        if (zombies == 0 || i % (files / zombies) != 0 || i / (files / zombies) >= zombies)
            referenced.append(QFile::decodeName(path));
    }
    for (int i = 0; i < missing; ++i)
        referenced.append(masters + QStringLiteral("/gone/IMG_") + QString::number(i) +
                          QStringLiteral(".jpg"));
    const double generate = double(timer.nsecsElapsed()) / 1e9;

    // The plain tools get the same sets: the reference list as sorted text.
    const QString refsFile = temp.path() + QStringLiteral("/refs.txt");
    {
        QFile f(refsFile);
        if (!f.open(QIODevice::WriteOnly))
            return 1;
        for (const QVariant& v : referenced) {
            f.write(QFile::encodeName(v.toString()));
            f.write("\n");
        }
    }
    const QString quotedMasters = QStringLiteral("'") + masters + QStringLiteral("'");
    const QString quotedRefs = QStringLiteral("'") + refsFile + QStringLiteral("'");
    shellSeconds(QStringLiteral("find %1 -type f > /dev/null").arg(quotedMasters)); // warm the caches alike

    // The detector's input as a scan holds it; the list it was made from is let go.
    const TextColumn masterPaths(std::exchange(referenced, {}));
    const qint64 rssBefore = processStatusKilobytes("VmRSS:");
    resetPeak();
    timer.restart();
    const QList<QByteArray> found = ZombieDetector::detectZombies(masterPaths, {}).zombies;
    const double detect = double(timer.nsecsElapsed()) / 1e9;
    const qint64 peak = processStatusKilobytes("VmHWM:");

    const double findSort = shellSeconds(
        QStringLiteral("LC_ALL=C find %1 -type f | LC_ALL=C sort > /dev/null").arg(quotedMasters));
    QByteArray commOut;
    const double comm = shellSeconds(
        QStringLiteral(
            "bash -c \"LC_ALL=C comm -23 <(LC_ALL=C find %1 -type f | LC_ALL=C sort) <(LC_ALL=C sort -u "
            "%2) | wc -l\"")
            .arg(quotedMasters, quotedRefs),
        &commOut);

    out << "files in Masters:          " << files << " in " << folders << " folders\n";
    out << "referenced paths:          " << masterPaths.size() << " (" << missing << " not on disk)\n";
    out << "zombies expected / found:  " << zombies << " / " << found.size() << "\n";
    out << "comm -23 finds:            " << commOut.trimmed() << "\n";
    out << QStringLiteral("generate tree:             %1 s\n").arg(generate, 0, 'f', 2);
    out << QStringLiteral("detectZombies:             %1 s\n").arg(detect, 0, 'f', 3);
    out << QStringLiteral("find -type f | sort:       %1 s\n").arg(findSort, 0, 'f', 3);
    out << QStringLiteral("find | sort, comm -23:     %1 s\n").arg(comm, 0, 'f', 3);
    out << QStringLiteral("detect / (find | sort):    %1x\n").arg(detect / findSort, 0, 'f', 2);
    out << QStringLiteral("detect / comm pipeline:    %1x\n").arg(detect / comm, 0, 'f', 2);
    out << QStringLiteral("RSS holding the input list: %1 MB\n").arg(double(rssBefore) / 1024, 0, 'f', 1);
    out << QStringLiteral("peak RSS during detection:  %1 MB (%2 MB above the input list)\n")
               .arg(double(peak) / 1024, 0, 'f', 1)
               .arg(double(peak - rssBefore) / 1024, 0, 'f', 1);
    const int recovered = arg(args, QStringLiteral("--recovery"), QStringLiteral("10000")).toInt();
    int status = found.size() == zombies ? 0 : 1;
    if (recovered > 0) {
        out.flush();
        status |=
            benchRecovery(recovered, arg(args, QStringLiteral("--recovery-dir"), QDir::tempPath()), out);
    }
    return status;
}
