/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "photoapp/ImportSources.h"

#include "wire/PhotoAppWire.h"

#include <QFile>
#include <QSet>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString reason(const char* text) {
    return QString::fromLatin1(text);
}

QString refusalOfErrno(int error) {
    return reason(error == ENOENT || error == ENOTDIR ? PhotoAppWire::kRefusedNotFound
                                                      : PhotoAppWire::kRefusedNotReadable);
}

QByteArray realPath(const QByteArray& path) {
    std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.constData(), nullptr), &std::free);
    return resolved ? QByteArray(resolved.get()) : QByteArray();
}

bool isUtf8(const char* name) {
    const QByteArray bytes(name);
    return QString::fromUtf8(bytes).toUtf8() == bytes;
}

bool isInside(const QByteArray& path, const QByteArray& folder) {
    return path.startsWith(folder) && path.size() > folder.size() &&
           (folder.endsWith('/') || path.at(folder.size()) == '/');
}

class Walk {
public:
    Walk(ImportSources::Collected& into, const std::function<bool()>& stopWhen) : out(into), stop(stopWhen) {}

    void folder(const QByteArray& top, dev_t device) {
        root = realPath(top);
        rootDevice = device;
        const qsizetype first = out.files.size();
        below(top);
        std::sort(
            out.files.begin() + first, out.files.end(),
            [](const ImportSources::Source& a, const ImportSources::Source& b) { return a.path < b.path; });
    }

private:
    void refuse(const QByteArray& path, const QString& why) {
        out.refused.append({QFile::decodeName(path), why});
    }

    void below(const QByteArray& dir) {
        const auto close = [](DIR* d) {
            ::closedir(d);
        };
        std::unique_ptr<DIR, decltype(close)> stream(::opendir(dir.constData()), close);
        if (!stream) {
            refuse(dir, refusalOfErrno(errno));
            return;
        }
        QList<QByteArray> folders;
        while (const dirent* entry = ::readdir(stream.get())) {
            if (stop && stop())
                return;
            if (entry->d_name[0] == '.')
                continue; // hidden, and the folder itself and its parent
            const QByteArray path = (dir.endsWith('/') ? dir : dir + '/') + entry->d_name;
            // Paths travel as D-Bus strings and sit in the catalogue as text, both UTF-8 only: such
            // a file could be neither named to the caller nor kept under its own name.
            if (!isUtf8(entry->d_name)) {
                refuse(path, reason(PhotoAppWire::kRefusedNameNotUtf8));
                continue;
            }
            struct stat st = {};
            if (::fstatat(::dirfd(stream.get()), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
                refuse(path, refusalOfErrno(errno));
            } else if (S_ISDIR(st.st_mode)) {
                // A mount point below the folder is another file system: left alone, not refused.
                // A folder met twice (a bind mount of its own parent) is walked once.
                if (st.st_dev == rootDevice && !walked.contains(st.st_ino)) {
                    walked.insert(st.st_ino);
                    folders.append(path);
                }
            } else if (S_ISREG(st.st_mode)) {
                out.files.append({QFile::decodeName(path), path});
            } else if (S_ISLNK(st.st_mode)) {
                link(path);
            } else {
                refuse(path, reason(PhotoAppWire::kRefusedNotRegularFile));
            }
        }
        stream.reset();
        for (const QByteArray& folder : folders)
            below(folder);
    }

    void link(const QByteArray& path) {
        const QByteArray target = realPath(path);
        struct stat st = {};
        if (target.isEmpty() || ::stat(target.constData(), &st) != 0)
            refuse(path, refusalOfErrno(errno));
        else if (!isInside(target, root))
            refuse(path, reason(PhotoAppWire::kRefusedLinkOutOfFolder));
        else if (S_ISREG(st.st_mode))
            out.files.append({QFile::decodeName(path), target});
        else if (!S_ISDIR(st.st_mode))
            refuse(path, reason(PhotoAppWire::kRefusedNotRegularFile));
        // A link to a folder inside the folder is walked already, under its own name.
    }

    ImportSources::Collected& out;
    const std::function<bool()>& stop;
    QByteArray root;
    dev_t rootDevice = 0;
    QSet<ino_t> walked;
};

} // namespace

namespace ImportSources {

QString refusalOfPath(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    struct stat st = {};
    if (path.isEmpty() || ::stat(name.constData(), &st) != 0)
        return refusalOfErrno(path.isEmpty() ? ENOENT : errno);
    if (S_ISDIR(st.st_mode))
        return ::access(name.constData(), R_OK | X_OK) == 0 ? QString()
                                                            : reason(PhotoAppWire::kRefusedNotReadable);
    if (!S_ISREG(st.st_mode))
        return reason(PhotoAppWire::kRefusedNotRegularFile);
    return ::access(name.constData(), R_OK) == 0 ? QString() : reason(PhotoAppWire::kRefusedNotReadable);
}

Collected collect(const QStringList& absolutePaths, const std::function<bool()>& stop) {
    Collected out;
    for (const QString& path : absolutePaths) {
        if (stop && stop())
            break;
        if (const QString why = refusalOfPath(path); !why.isEmpty()) {
            out.refused.append({path, why});
            continue;
        }
        const QByteArray name = QFile::encodeName(path);
        struct stat st = {};
        if (::stat(name.constData(), &st) == 0 && S_ISDIR(st.st_mode))
            Walk(out, stop).folder(name, st.st_dev);
        else
            out.files.append({path, realPath(name)});
    }
    return out;
}

} // namespace ImportSources
