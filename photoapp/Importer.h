#pragma once

#include "photoapp/Catalogue.h"

#include <QString>
#include <QStringList>
#include <functional>

// Copies image files into the library's Masters folder and records them in the catalogue. Each
// import gets one dated folder (Masters/yyyy/MM/dd/yyyyMMdd-HHmmss); a file keeps its name unless
// that name is taken there. Files that are not readable images are refused and left where they
// are; nothing is ever moved or deleted outside the library.
class Importer {
public:
    struct Result {
        int imported = 0;
        int refused = 0;
        QList<qint64> photoIds;
    };

    explicit Importer(Catalogue& catalogue);

    // Every file below the given files and folders (recursively, hidden items left out), sorted.
    static QStringList collectFiles(const QStringList& paths, QStringList* missing);

    // Imports each file into the library album and, when it is another album, into albumId too.
    // `stop` is asked between files.
    Result importFiles(const QStringList& files, qint64 albumId, const std::function<bool()>& stop = {});

private:
    bool importOne(const QString& file, qint64 albumId, qint64* photoId);
    QString uniqueTarget(const QString& dir, const QString& fileName) const;

    Catalogue& catalogue;
    QString rollDir;
};
