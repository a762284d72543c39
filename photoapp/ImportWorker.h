/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "photoapp/Importer.h"
#include "photoapp/LibraryPackage.h"

#include <QMutex>
#include <QObject>
#include <QThread>
#include <atomic>
#include <functional>
#include <memory>

class Catalogue;

// Runs the service's imports on a thread of their own, one after the other, so the service keeps
// answering while files are read and copied. `pending` counts imports accepted but not finished:
// it is raised before the import request is answered and lowered after its last file, once the
// import's result can be read from lastResult(); `finished` is then called on the import thread.
class ImportWorker : public QObject {
    Q_OBJECT
public:
    using Finished = std::function<void(const Importer::Result&)>;
    ImportWorker(const LibraryPackage& library, Finished finished);
    ~ImportWorker() override;

    // Accepts an import: importing() is true from this call until its last file is handled.
    void enqueue(const QString& path, qint64 albumId);
    bool importing() const { return pending.load() > 0; }
    // The result of the import that finished last; empty before the first.
    Importer::Result lastResult() const;

    // Abandons the import in progress at the next file or chunk and waits for the thread.
    void shutdown();

private:
    Importer::Result run(const QString& path, qint64 albumId);

    LibraryPackage library;
    Finished finished;
    QThread thread;
    QObject* context = nullptr; // lives in `thread`; owned by it through deleteLater
    std::atomic<int> pending{0};
    std::atomic<bool> stopping{false};
    std::unique_ptr<Catalogue> catalogue; // created and used on `thread` only
    mutable QMutex resultLock;
    Importer::Result last;
};
