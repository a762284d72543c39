#pragma once

#include "photoapp/LibraryPackage.h"

#include <QObject>
#include <QThread>
#include <atomic>
#include <memory>

class Catalogue;

// Runs the service's imports on a thread of their own, one after the other, so the service keeps
// answering while files are read and copied. `pending` counts imports accepted but not finished:
// it is raised before the import request is answered and lowered after its last file.
class ImportWorker : public QObject {
    Q_OBJECT
public:
    explicit ImportWorker(const LibraryPackage& library);
    ~ImportWorker() override;

    // Accepts an import: importing() is true from this call until its last file is handled.
    void enqueue(const QString& path, qint64 albumId);
    bool importing() const { return pending.load() > 0; }

    // Stops between two files and waits for the thread; called on shutdown.
    void shutdown();

private:
    class Job;
    LibraryPackage library;
    QThread thread;
    QObject* context = nullptr; // lives in `thread`; owned by it through deleteLater
    std::atomic<int> pending{0};
    std::atomic<bool> stopping{false};
    std::unique_ptr<Catalogue> catalogue; // created and used on `thread` only
};
