/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
// photoapp's window on a generated library, as a user meets it:
//   - `photoapp open`: how long until the window is built and the service answers, and the
//     process's peak memory once 100,000 photos are selected over the bus and shown selected;
//   - the window in this process: opening, scrolling the whole library page by page and by
//     jumps (the longest pass of the event loop is the longest stall a user sees), peak memory;
//   - how long a change made by another process takes to show: a selection written by
//     `photoapp select`, a photo imported over the bus.
// Usage: bench_photoapp_window [PHOTOS]   (default 100000)

#include "photoapp/ImageMetadata.h"
#include "photoapp/window/LibraryWindow.h"
#include "tests/support/PhotoAppProcess.h"
#include "tests/support/TestBus.h"
#include "wire/PhotoAppWire.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QElapsedTimer>
#include <QFile>
#include <QListView>
#include <QScrollBar>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

QDBusMessage call(const QString& path, const char* interface, const char* method,
                  const QVariantList& args = {}) {
    return PhotoAppProcess::request(path, interface, method, args, 120000);
}

double ms(const QElapsedTimer& t) {
    return t.nsecsElapsed() / 1e6;
}

// Runs the event loop until `done` or `timeoutMs`; the milliseconds it took, -1 on time-out.
template <typename Done> double waitFor(Done done, int timeoutMs = 60000) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > timeoutMs)
            return -1;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return ms(t);
}

struct Stalls {
    QList<double> passes;
    void add(double v) { passes.append(v); }
    void print(const char* what) {
        std::sort(passes.begin(), passes.end());
        const auto at = [&](double q) {
            return passes.value(qsizetype(q * double(passes.size() - 1)));
        };
        std::printf("  %-44s %5lld steps   median %6.1f ms   99%% %6.1f ms   longest %6.1f ms\n", what,
                    qint64(passes.size()), at(0.5), at(0.99), passes.isEmpty() ? 0.0 : passes.constLast());
    }
};

// One step of scrolling as the user's wheel or keys make it: the new position painted, then
// whatever the event loop has to do (thumbnails arriving).
double scrollStep(QListView& grid, int value) {
    QElapsedTimer t;
    t.start();
    grid.verticalScrollBar()->setValue(value);
    grid.viewport()->repaint();
    QCoreApplication::processEvents();
    return ms(t);
}

} // namespace

int main(int argc, char** argv) {
    TestBus bus;
    if (!bus.start())
        return 2;
    QApplication app(argc, argv);
    ImageMetadataIo::initialize();
    const int photos = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100000;
    QTemporaryDir dir;
    const QString library = dir.filePath(QStringLiteral("Bench.photolibrary"));
    std::printf("photoapp window benchmark, %d photos (%s)\n", photos,
                qPrintable(QGuiApplication::platformName()));

    QElapsedTimer timer;
    timer.start();
    const auto demo = PhotoAppProcess::run({QStringLiteral("demo"), library, QStringLiteral("--photos"),
                                            QString::number(photos), QStringLiteral("--missing-images"),
                                            QString::number(photos / 1000)});
    if (demo.exitCode != 0) {
        std::fprintf(stderr, "demo failed: %s\n", demo.err.constData());
        return 1;
    }
    std::printf("  demo library made in %.1f s\n\n", timer.elapsed() / 1000.0);

    std::printf("photoapp open (a process of its own):\n");
    {
        PhotoAppProcess open;
        timer.restart();
        if (!open.serve(library, {QStringLiteral("--window")})) {
            std::fprintf(stderr, "photoapp open did not start: %s\n", open.standardError().constData());
            return 1;
        }
        const double named = ms(timer);
        // The window is built before the loop answers anything.
        call(QString::fromLatin1(PhotoAppWire::kApplicationPath), PhotoAppWire::kApplicationInterface,
             "Ping");
        std::printf("  bus name owned after %.0f ms; window built and answering after %.0f ms\n", named,
                    ms(timer));
        QList<QDBusObjectPath> all;
        all.reserve(photos);
        for (int id = 1; id <= photos; ++id)
            all.append(QDBusObjectPath(PhotoAppWire::photoPath(id)));
        timer.restart();
        call(QString::fromLatin1(PhotoAppWire::kControlPath), PhotoAppWire::kControlInterface, "SelectItems",
             {QVariant::fromValue(all)});
        const double selected = ms(timer);
        QThread::sleep(2); // the window follows within a second; then it has shown them selected
        call(QString::fromLatin1(PhotoAppWire::kApplicationPath), PhotoAppWire::kApplicationInterface,
             "Ping");
        std::printf("  SelectItems of %d photos answered in %.0f ms\n", photos, selected);
        std::printf("  peak memory with every photo selected: %.0f MB\n\n",
                    PhotoAppProcess::peakKilobytes(open.pid()) / 1024.0);
        open.stop();
    }

    std::printf("the window in this process:\n");
    timer.restart();
    QString error;
    std::unique_ptr<LibraryWindow> window = LibraryWindow::open(LibraryPackage(library), {}, &error);
    if (!window) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const double loaded = ms(timer);
    window->show();
    QListView& grid = window->grid();
    grid.doItemsLayout();
    window->repaint();
    QCoreApplication::processEvents();
    std::printf("  catalogue read in %.0f ms; window shown, laid out and painted after %.0f ms\n", loaded,
                ms(timer));
    const double firstThumbnails = waitFor([&] {
        const QModelIndex first = grid.indexAt(QPoint(10, 10));
        return first.isValid() &&
               first.data(PhotoGridModel::ThumbnailStateRole).toInt() != int(ThumbnailLoader::State::Loading);
    });
    std::printf("  first thumbnails %.0f ms later\n", firstThumbnails);

    QScrollBar* bar = grid.verticalScrollBar();
    Stalls pages;
    for (int v = 0; v < bar->maximum() && pages.passes.size() < 2000; v += bar->pageStep())
        pages.add(scrollStep(grid, v));
    pages.print("page after page from the top");
    Stalls wheel;
    for (int v = bar->maximum() / 2, n = 0; n < 1000; ++n, v += 40)
        wheel.add(scrollStep(grid, v));
    wheel.print("wheel steps of 40 px mid-library");
    Stalls jumps;
    for (int n = 0; n <= 200; ++n)
        jumps.add(scrollStep(grid, int(qint64(bar->maximum()) * ((n * 7919) % 201) / 200)));
    jumps.print("jumps anywhere in the library");
    Stalls selectAll;
    for (int n = 0; n < 5; ++n) {
        QElapsedTimer t;
        t.start();
        grid.selectAll();
        QCoreApplication::processEvents();
        grid.clearSelection();
        QCoreApplication::processEvents();
        selectAll.add(ms(t));
    }
    selectAll.print("Ctrl+A and back");
    // Ctrl+A makes every photo the application's selection: the longest pass of the event loop
    // while it is written to the catalogue.
    {
        grid.selectAll();
        Stalls written;
        QElapsedTimer over;
        over.start();
        while (over.elapsed() < 2000) {
            QElapsedTimer pass;
            pass.start();
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            written.add(ms(pass));
        }
        written.print("2 s after Ctrl+A on the whole library");
        grid.clearSelection();
        QCoreApplication::processEvents();
    }
    QCoreApplication::processEvents();
    std::printf("  peak memory of this process: %.0f MB\n\n",
                PhotoAppProcess::peakKilobytes(QCoreApplication::applicationPid()) / 1024.0);

    std::printf("changes made elsewhere, as the window shows them:\n");
    const qint64 target = photos / 2;
    timer.restart();
    PhotoAppProcess::run(
        {QStringLiteral("select"), library, QStringLiteral("--photos"), QString::number(target)});
    const double written = ms(timer);
    const double shown = waitFor([&] {
        const QModelIndexList chosen = grid.selectionModel()->selectedIndexes();
        return chosen.size() == 1 &&
               chosen.constFirst().data(PhotoGridModel::PhotoIdRole).toLongLong() == target;
    });
    std::printf(
        "  photoapp select: written in %.0f ms (a process start included), selected in the grid %.0f ms "
        "later\n",
        written, shown);
    PhotoAppProcess serve;
    if (serve.serve(library)) {
        const qsizetype before = window->photos().albumSize();
        const QString image = dir.filePath(QStringLiteral("new.jpg"));
        PhotoAppProcess::run({QStringLiteral("keyword-image"), image, QStringLiteral("New")});
        timer.restart();
        call(PhotoAppWire::albumPath(1), PhotoAppWire::kAlbumInterface, "ImportFrom", {image, true});
        const double appeared = waitFor([&] { return window->photos().albumSize() > before; });
        std::printf("  import over the bus: in the grid %.0f ms after the request\n", appeared);
        serve.stop();
    }
    window.reset();
    return 0;
}
