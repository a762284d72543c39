/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
// The findings view on a library whose drive is unplugged: every photo's image is gone, so a
// preview of the whole library gives one finding per photo (or, with "masters", every photo's
// master is gone and its edited image is there, so every row has a picture to decode). Prints,
// for the window:
//   - the time from the run's end (the busy mark cleared) to its findings painted on screen;
//   - the longest the event loop is kept from turning while the table is scrolled (pages down,
//     and jumps as when the scroll bar is dragged) with its pictures asked for;
//   - the time to sort by two columns, and to filter by a text;
//   - what the view adds to the process's peak memory from the run's end on.
// Usage: bench_findings [FINDINGS] [images|masters]   (default 100000 images)

#include "app/VupAppDelegate.h"
#include "app/findings/FindingsFilter.h"
#include "app/findings/FindingsModel.h"
#include "app/findings/FindingsPresenter.h"
#include "app/findings/FindingsView.h"
#include "platform/UserDefaults.h"
#include "scan/report/LastRunStore.h"
#include "tests/support/PhotoAppProcess.h"
#include "tests/support/ProcessStatus.h"
#include "tests/support/TestBus.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMainWindow>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

namespace {

// From here on the peak (VmHWM) counts from the present size.
bool resetPeak() {
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    return refs.open(QIODevice::WriteOnly) && refs.write("5") == 1;
}

double msSince(const QElapsedTimer& t) {
    return double(t.nsecsElapsed()) / 1e6;
}

// The longest gap between two turns of the event loop, seen by a fast timer.
class StallWatch {
public:
    StallWatch() {
        tick.setTimerType(Qt::PreciseTimer);
        QObject::connect(&tick, &QTimer::timeout, [this] {
            longest = std::max(longest, msSince(sinceTick));
            sinceTick.restart();
        });
    }
    void start() {
        longest = 0;
        sinceTick.start();
        tick.start(kTickMs);
    }
    double stop() {
        tick.stop();
        return std::max(longest, msSince(sinceTick));
    }
    static constexpr int kTickMs = 5;

private:
    QTimer tick;
    QElapsedTimer sinceTick;
    double longest = 0;
};

// Lets queued work run and paints the table as the screen would show it; answers how long that took.
double frame(QTableView* table) {
    QElapsedTimer t;
    t.start();
    QCoreApplication::processEvents();
    table->viewport()->repaint();
    return msSince(t);
}

} // namespace

int main(int argc, char** argv) {
    TestBus testBus;
    if (!testBus.start())
        return 2;
    // Settings and the kept run live in the benchmark's own folder; the info sheet stays shut.
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_STATE_HOME", dir.filePath(QStringLiteral("state")).toUtf8());
    QApplication app(argc, argv);
    UserDefaults::standard().reload();
    UserDefaults::standard().setBool(QString::fromLatin1(VupAppDelegate::kSkipInfoScreenKey), true);
    const QStringList args = QCoreApplication::arguments();
    const int photos = args.size() > 1 ? args.at(1).toInt() : 100000;
    const bool masters = args.size() > 2 && args.at(2) == u"masters";

    const QString library = dir.filePath(QStringLiteral("Unplugged.photolibrary"));
    QElapsedTimer timer;
    timer.start();
    const PhotoAppProcess::Result made = PhotoAppProcess::run(
        {QStringLiteral("demo"), library, QStringLiteral("--photos"), QString::number(photos),
         QStringLiteral("--missing-images"), QString::number(masters ? 0 : photos),
         QStringLiteral("--missing-masters"), QString::number(masters ? photos : 0),
         QStringLiteral("--zombies"), QStringLiteral("0")});
    if (made.exitCode != 0) {
        std::fprintf(stderr, "photoapp demo failed: %s\n", made.err.constData());
        return 1;
    }
    std::printf("library: %d photos, every %s file gone, made in %.1f s\n", photos,
                masters ? "master" : "image", timer.elapsed() / 1000.0);
    PhotoAppProcess server;
    if (!server.serve(library)) {
        std::fprintf(stderr, "serve failed\n");
        return 1;
    }

    VupAppDelegate controller;
    controller.window()->resize(900, 640);
    controller.window()->show();
    controller.applicationDidFinishLaunching();
    FindingsPresenter* presenter = controller.findings();
    FindingsView* view = presenter->view();
    QTableView* table = view->table();

    // A preview: the same findings and the same view as a run that tags them all, without waiting
    // for 100,000 tags.
    QElapsedTimer sinceEnd;
    qint64 rssAtEnd = -1;
    bool peakReset = false;
    QObject::connect(&controller, &VupAppDelegate::nowProcessingChanged, [&](bool busy) {
        if (busy)
            return;
        sinceEnd.start();
        rssAtEnd = processStatusKilobytes("VmRSS:");
        peakReset = resetPeak();
    });
    double shownMs = -1;
    StallWatch stalls;
    QObject::connect(presenter, &FindingsPresenter::shown, [&] {
        table->viewport()->repaint();
        shownMs = msSince(sinceEnd);
    });
    timer.restart();
    controller.previewLibrary();
    while (shownMs < 0)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    const double runS = timer.elapsed() / 1000.0 - shownMs / 1000.0;
    std::printf("preview of the library: %.1f s, %lld findings\n", runS, qint64(view->rows().size()));
    std::printf("  run end -> findings on screen: %7.1f ms  (target <= 1000)\n", shownMs);

    // Scrolling: page after page from the top, then jumps across the whole table.
    QScrollBar* bar = table->verticalScrollBar();
    double longestFrame = 0;
    stalls.start();
    QElapsedTimer scrolling;
    scrolling.start();
    for (int page = 0; page < 300; ++page) {
        bar->setValue(bar->value() + bar->pageStep());
        longestFrame = std::max(longestFrame, frame(table));
    }
    QRandomGenerator random(13);
    for (int jump = 0; jump < 300; ++jump) {
        bar->setValue(int(random.bounded(bar->maximum() + 1)));
        longestFrame = std::max(longestFrame, frame(table));
    }
    const double scrollS = scrolling.elapsed() / 1000.0;
    // Pictures still on their way land after the last move.
    for (int k = 0; k < 20; ++k)
        longestFrame = std::max(longestFrame, frame(table));
    const double longestStall = stalls.stop();
    std::printf("  scrolling: 300 pages and 300 jumps in %.2f s; longest frame %.1f ms, longest event-loop "
                "stall %.1f ms  (target <= 50)\n",
                scrollS, longestFrame, longestStall);

    for (const auto& [column, name] : {std::pair{int(FindingsModel::Path), "path"},
                                       std::pair{int(FindingsModel::FileName), "file name"}}) {
        QElapsedTimer sorting;
        sorting.start();
        table->sortByColumn(column, Qt::DescendingOrder);
        table->viewport()->repaint();
        std::printf("  sort by %-9s %7.1f ms  (target <= 1000)\n", name, msSince(sorting));
    }
    QElapsedTimer filtering;
    filtering.start();
    view->filter()->setText(QStringLiteral("IMG_0777"));
    table->viewport()->repaint();
    std::printf("  filter by a text: %.1f ms, %d rows left\n", msSince(filtering),
                view->filter()->rowCount());
    view->filter()->setText({});

    // The run is kept for the next launch on the view's worker: its peak counts too.
    QElapsedTimer keeping;
    keeping.start();
    while (!QFile::exists(LastRunStore::path()) && keeping.elapsed() < 120000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    const qint64 peak = processStatusKilobytes("VmHWM:");
    std::printf("  kept for the next launch: %s (%.1f MB)\n",
                QFile::exists(LastRunStore::path()) ? "yes" : "NO",
                QFileInfo(LastRunStore::path()).size() / 1048576.0);
    if (peakReset)
        std::printf("  memory: %.1f MB at the run's end, peak since %.1f MB: the view added %.1f MB  "
                    "(target <= 100)\n",
                    rssAtEnd / 1024.0, peak / 1024.0, (peak - rssAtEnd) / 1024.0);
    else
        std::printf("  memory: cannot reset the peak (/proc/self/clear_refs); peak %.1f MB\n", peak / 1024.0);
    server.stop();
    return 0;
}
