/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "photoapp/ImportWorker.h"

#include "photoapp/Catalogue.h"
#include "photoapp/Log.h"
#include "wire/PhotoAppWire.h"

#include <QElapsedTimer>

namespace {
constexpr int kDelaySliceMs = 20;
}

ImportWorker::ImportWorker(const LibraryPackage& lib, Finished f) : library(lib), finished(std::move(f)) {
    thread.setObjectName(QStringLiteral("import"));
    context = new QObject; // moved to the thread below, deleted there when the thread finishes
    context->moveToThread(&thread);
    connect(&thread, &QThread::finished, context, &QObject::deleteLater);
    thread.start();
}

ImportWorker::~ImportWorker() {
    shutdown();
}

Importer::Result ImportWorker::lastResult() const {
    const QMutexLocker locker(&resultLock);
    return last;
}

void ImportWorker::enqueue(const QString& path, qint64 albumId) {
    ++pending;
    QMetaObject::invokeMethod(context, [this, path, albumId] {
        if (stopping) {
            --pending;
            return;
        }
        const Importer::Result result = run(path, albumId);
        if (stopping) {
            --pending; // abandoned: no result to tell
            return;
        }
        {
            const QMutexLocker locker(&resultLock);
            last = result;
        }
        --pending;
        if (finished)
            finished(result);
    });
}

Importer::Result ImportWorker::run(const QString& path, qint64 albumId) {
    QElapsedTimer timer;
    timer.start();
    const auto stop = [this] {
        return stopping.load();
    };
    if (!catalogue) {
        QString error;
        catalogue = Catalogue::open(library, &error);
        if (!catalogue) {
            PhotoAppLog::line(
                QStringLiteral("import of %1 failed: %2").arg(PhotoAppLog::shortened(path), error));
            return {{}, {{path, QString::fromLatin1(PhotoAppWire::kRefusedNotStored)}}, {}};
        }
    }
    const ImportSources::Collected sources = ImportSources::collect({path}, stop);
    const Importer::Result r = Importer(*catalogue).importFiles(sources, albumId, stop);
    PhotoAppLog::line(QStringLiteral("imported %1 of %2 files from %3; %4 refused")
                          .arg(r.imported.size())
                          .arg(sources.files.size())
                          .arg(PhotoAppLog::shortened(path))
                          .arg(r.refused.size()));
    // A slow import injected by tests: the whole import takes at least this long.
    const int delay = catalogue->importDelayMs();
    while (!stopping && timer.elapsed() < delay)
        QThread::msleep(kDelaySliceMs);
    return r;
}

void ImportWorker::shutdown() {
    if (!thread.isRunning())
        return;
    stopping = true;
    QMetaObject::invokeMethod(context, [this] { catalogue.reset(); });
    thread.quit();
    thread.wait();
}
