/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "bench/zombies/RecoveryBench.h"

#include "bridge/iPhotoBridge.h"
#include "scan/zombies/ZombieDetector.h"
#include "scan/zombies/ZombieRecovery.h"
#include "tests/support/PhotoAppProcess.h"
#include "tests/support/TestBus.h"
#include "wire/PhotoAppWire.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

int benchRecovery(int zombies, const QString& folder, QTextStream& out) {
    TestBus bus;
    QTemporaryDir temp(folder + QStringLiteral("/vzr-XXXXXX"));
    if (!bus.start() || !temp.isValid()) {
        out << "recovery: cannot start a bus or make a working folder\n";
        return 1;
    }
    const QString library = temp.path() + QStringLiteral("/L.photolibrary");
    QElapsedTimer timer;
    timer.start();
    const PhotoAppProcess::Result made = PhotoAppProcess::run(
        {QStringLiteral("demo"), library, QStringLiteral("--photos"), QStringLiteral("10"),
         QStringLiteral("--missing-images"), QStringLiteral("0"), QStringLiteral("--missing-masters"),
         QStringLiteral("0"), QStringLiteral("--zombies"), QString::number(zombies)});
    qputenv("XDG_STATE_HOME", QFile::encodeName(temp.path() + QStringLiteral("/state")));
    PhotoAppProcess app;
    if (made.exitCode != 0 || !app.serve(library)) {
        out << "recovery: cannot make or serve the library: " << made.err << "\n";
        return 1;
    }
    const double generate = double(timer.nsecsElapsed()) / 1e9;

    const auto application =
        iPhotoApplication::applicationWithBundleIdentifier(QString::fromLatin1(PhotoAppWire::kService));
    TextColumn masters;
    for (const iPhotoPhoto& photo : application->photoLibraryAlbum().photos())
        masters.append(photo.properties().value(QString::fromLatin1(PhotoAppWire::kOriginalPath)));
    const ZombieDetection found = ZombieDetector::detectZombies(masters, {});
    ZombieRecovery recovery(application, {});
    // Polled often, so that the wait adds no more than it must to the figure.
    recovery.setPollInterval(std::chrono::milliseconds(20));
    timer.restart();
    const ZombieRecoveryReport report = recovery.recoverZombies(found);
    const double total = double(timer.nsecsElapsed()) / 1e9;
    const double journal = report.journalMs / 1e3;

    out << "zombies recovered:         " << report.count(ZombieState::ReAdded) << " of "
        << found.zombies.size() << " (library made and served in " << QString::number(generate, 'f', 1)
        << " s)\n";
    out << QStringLiteral("recovery, journal on:      %1 s\n").arg(total, 0, 'f', 3);
    out << QStringLiteral("  of which the journal:    %1 s (writes and syncs)\n").arg(journal, 0, 'f', 3);
    out << QStringLiteral("recovery without it:       %1 s\n").arg(total - journal, 0, 'f', 3);
    out << QStringLiteral("journal adds:              %1 %\n")
               .arg(100 * journal / (total - journal), 0, 'f', 2);
    return report.count(ZombieState::ReAdded) == zombies ? 0 : 1;
}
