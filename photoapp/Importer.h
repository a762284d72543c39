/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "photoapp/Catalogue.h"
#include "photoapp/ImportSources.h"

#include <QString>
#include <QStringList>
#include <functional>

// Copies image files into the library's Masters folder and records them in the catalogue. Each
// import gets one dated folder (Masters/yyyy/MM/dd/yyyyMMdd-HHmmss); a file keeps its name unless
// that name is taken there. A copy appears only whole and synced, and its row is committed only
// once it is in place, so a failure leaves neither a partial file nor a row. Files that are not
// whole, readable images are refused with a reason and left where they are; nothing is ever moved
// or deleted outside the library.
class Importer {
public:
    struct Result {
        QStringList imported; // source paths
        QList<ImportRefusal> refused;
        QList<qint64> photoIds;
    };

    explicit Importer(Catalogue& catalogue);

    // Imports each collected file into the library album and, when it is another album, into
    // albumId too; the collected refusals are the result's first ones. `stop` is asked between and
    // within files: a file it interrupts is neither imported nor refused.
    Result importFiles(const ImportSources::Collected& sources, qint64 albumId,
                       const std::function<bool()>& stop = {});

private:
    // Empty when imported; otherwise the reason.
    QString importOne(const ImportSources::Source& source, qint64 albumId, qint64* photoId,
                      const std::function<bool()>& stop);
    bool record(const Catalogue::Photo& photo, qint64 albumId, const QStringList& keywords, qint64* photoId);

    Catalogue& catalogue;
    QString rollDir;
};
