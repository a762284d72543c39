/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "photoapp/window/SelectionWriter.h"

SelectionWriter::SelectionWriter(const LibraryPackage& lib, QObject* parent) : QObject(parent), library(lib) {
    worker.reset(QThread::create([this] { work(); }));
    worker->setObjectName(QStringLiteral("selection"));
    worker->start();
}

SelectionWriter::~SelectionWriter() {
    {
        const QMutexLocker locker(&lock);
        stopping = true;
        wake.wakeAll();
    }
    worker->wait();
}

void SelectionWriter::write(const QList<Catalogue::SelectionItem>& items) {
    const QMutexLocker locker(&lock);
    waiting = items;
    wake.wakeOne();
}

bool SelectionWriter::isBusy() const {
    const QMutexLocker locker(&lock);
    return writing || waiting.has_value();
}

void SelectionWriter::work() {
    std::unique_ptr<Catalogue> catalogue; // this thread's own connection
    QString error;
    QMutexLocker locker(&lock);
    for (;;) {
        if (!waiting) {
            if (stopping)
                return;
            wake.wait(&lock);
            continue;
        }
        const QList<Catalogue::SelectionItem> items = *std::exchange(waiting, std::nullopt);
        writing = true;
        locker.unlock();
        if (!catalogue)
            catalogue = Catalogue::open(library, &error);
        if (catalogue)
            error = catalogue->setSelection(items) ? QString() : catalogue->lastError();
        locker.relock();
        writing = false;
        if (!waiting)
            QMetaObject::invokeMethod(
                this, [this, error] { emit idle(error); }, Qt::QueuedConnection);
    }
}
