/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "photoapp/ImportRefusal.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// The files an import takes from the paths it is given. A path named by the caller is taken as it
// is, link or not; inside a folder nothing is followed out of it: the walk stays on the folder's
// file system (so `/` does not wander into /proc or /sys), takes a link only when it leads to a
// regular file inside the folder, leaves hidden items out and refuses whatever is not a regular
// file or has a name that is not UTF-8. Nothing here opens a file for reading, so nothing can block on a FIFO
// or a device.
namespace ImportSources {

struct Source {
    QString path;        // as the caller sees it; the name the copy keeps
    QByteArray openPath; // what to open, a link already resolved; never to be followed again
};

struct Collected {
    QList<Source> files; // sorted by path within each given path
    QList<ImportRefusal> refused;
};

// Why an absolute path cannot be imported from at all (one of PhotoAppWire's reasons); empty when
// it is a readable regular file or folder.
QString refusalOfPath(const QString& path);

// `stop` is asked between entries; what was found until then is answered.
Collected collect(const QStringList& absolutePaths, const std::function<bool()>& stop = {});

} // namespace ImportSources
