/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "app/findings/ShowInFolder.h"

#include "platform/FileManagerService.h"
#include "platform/PathNames.h"

#include <QDesktopServices>
#include <QStringList>
#include <QUrl>
#include <sys/stat.h>

namespace {

using FileManagerService::Request;

bool isFolder(const QByteArray& path) {
    struct stat st {};
    return ::stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

QByteArray folderOf(const QByteArray& path) {
    const QByteArray folder = PathNames::directoryOf(path);
    return folder.isEmpty() ? QByteArray("/") : folder;
}

QByteArray nearestFolder(QByteArray path) {
    do
        path = folderOf(path);
    while (path != "/" && !isFolder(path));
    return path;
}

using Unopened = std::function<void(const QByteArray&)>;

// What stands in for the file manager: each folder opened once, as the desktop opens folders.
void openFolders(const QList<QByteArray>& folders, const Unopened& unopened) {
    QList<QByteArray> opened;
    for (const QByteArray& folder : folders) {
        if (opened.contains(folder))
            continue;
        opened.append(folder);
        if (!QDesktopServices::openUrl(QUrl::fromEncoded(FileManagerService::fileUri(folder).toLatin1())))
            unopened(folder);
    }
}

void request(Request kind, const QList<QByteArray>& paths, const QList<QByteArray>& folders, QObject* context,
             const Unopened& unopened) {
    if (paths.isEmpty())
        return;
    QStringList uris;
    for (const QByteArray& p : paths)
        uris.append(FileManagerService::fileUri(p));
    FileManagerService::show(kind, uris, context, [folders, unopened](bool shown) {
        if (!shown)
            openFolders(folders, unopened);
    });
}

} // namespace

namespace ShowInFolder {

void show(const QList<QByteArray>& paths, QObject* context, const Unopened& unopened) {
    QList<QByteArray> items, itemFolders, gone;
    for (const QByteArray& path : paths.mid(0, kMostShown)) {
        struct stat st {};
        if (::lstat(path.constData(), &st) == 0) {
            if (!items.contains(path)) {
                items.append(path);
                itemFolders.append(folderOf(path));
            }
        } else if (const QByteArray folder = nearestFolder(path); !gone.contains(folder)) {
            gone.append(folder);
        }
    }
    request(Request::ShowItems, items, itemFolders, context, unopened);
    request(Request::ShowFolders, gone, gone, context, unopened);
}

} // namespace ShowInFolder
