#include "photoapp/ImportWorker.h"

#include "photoapp/Catalogue.h"
#include "photoapp/Importer.h"
#include "photoapp/Log.h"

#include <QElapsedTimer>
#include <QFileInfo>

namespace {
constexpr int kDelaySliceMs = 20;
}

ImportWorker::ImportWorker(const LibraryPackage& lib) : library(lib) {
    thread.setObjectName(QStringLiteral("import"));
    context = new QObject; // moved to the thread below, deleted there when the thread finishes
    context->moveToThread(&thread);
    connect(&thread, &QThread::finished, context, &QObject::deleteLater);
    thread.start();
}

ImportWorker::~ImportWorker() {
    shutdown();
}

void ImportWorker::enqueue(const QString& path, qint64 albumId) {
    ++pending;
    QMetaObject::invokeMethod(context, [this, path, albumId] {
        QElapsedTimer timer;
        timer.start();
        if (!stopping) {
            if (!catalogue) {
                QString error;
                catalogue = Catalogue::open(library, &error);
                if (!catalogue)
                    PhotoAppLog::line(QStringLiteral("import of %1 failed: %2").arg(path, error));
            }
            if (catalogue) {
                const QStringList files = Importer::collectFiles({path}, nullptr);
                Importer importer(*catalogue);
                const Importer::Result r =
                    importer.importFiles(files, albumId, [this] { return stopping.load(); });
                PhotoAppLog::line(QStringLiteral("imported %1 of %2 files from %3")
                                      .arg(r.imported)
                                      .arg(files.size())
                                      .arg(path));
                // A slow import injected by tests: the whole import takes at least this long.
                const int delay = catalogue->importDelayMs();
                while (!stopping && timer.elapsed() < delay)
                    QThread::msleep(kDelaySliceMs);
            }
        }
        --pending;
    });
}

void ImportWorker::shutdown() {
    if (!thread.isRunning())
        return;
    stopping = true;
    QMetaObject::invokeMethod(context, [this] { catalogue.reset(); });
    thread.quit();
    thread.wait();
}
