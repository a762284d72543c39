#include "app/findings/ShowInFolder.h"

#include "platform/FileManagerService.h"
#include "scan/SafeMove.h"

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
    const QByteArray folder = SafeMove::directoryOf(path);
    return folder.isEmpty() ? QByteArray("/") : folder;
}

QByteArray nearestFolder(QByteArray path) {
    do
        path = folderOf(path);
    while (path != "/" && !isFolder(path));
    return path;
}

// What stands in for the file manager: each folder opened once, as the desktop opens folders.
void openFolders(const QList<QByteArray>& folders) {
    QList<QByteArray> opened;
    for (const QByteArray& folder : folders) {
        if (opened.contains(folder))
            continue;
        opened.append(folder);
        QDesktopServices::openUrl(QUrl::fromEncoded(FileManagerService::fileUri(folder).toLatin1()));
    }
}

void request(Request kind, const QList<QByteArray>& paths, const QList<QByteArray>& folders,
             QObject* context) {
    if (paths.isEmpty())
        return;
    QStringList uris;
    for (const QByteArray& p : paths)
        uris.append(FileManagerService::fileUri(p));
    FileManagerService::show(kind, uris, context, [folders](bool shown) {
        if (!shown)
            openFolders(folders);
    });
}

} // namespace

namespace ShowInFolder {

void show(const QList<QByteArray>& paths, QObject* context) {
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
    request(Request::ShowItems, items, itemFolders, context);
    request(Request::ShowFolders, gone, gone, context);
}

} // namespace ShowInFolder
