/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "scan/zombies/DarktableZombies.h"

#include <QSet>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>

namespace DarktableZombies {

namespace {

// What darktable 4.2 imports: its ordinary formats and the raw formats rawspeed and libraw read.
const QSet<QByteArray>& extensions() {
    static const QSet<QByteArray> known{
        "jpg",  "jpeg", "jpe", "png", "tif", "tiff", "heif", "heic", "hif", "avif", "jxl",
        "webp", "exr",  "pfm", "hdr", "pnm", "pgm",  "ppm",  "j2k",  "jp2", "3fr",  "ari",
        "arw",  "bay",  "cap", "cr2", "cr3", "crw",  "dcr",  "dcs",  "dng", "erf",  "fff",
        "gpr",  "iiq",  "k25", "kdc", "mdc", "mef",  "mos",  "mrw",  "nef", "nrw",  "orf",
        "ori",  "pef",  "raf", "raw", "rw2", "rwl",  "sr2",  "srf",  "srw", "sti",  "x3f",
    };
    return known;
}

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

} // namespace

bool importable(const QByteArray& fileName) {
    const qsizetype dot = fileName.lastIndexOf('.');
    if (dot <= 0 || fileName.startsWith('.'))
        return false;
    return extensions().contains(fileName.mid(dot + 1).toLower());
}

Detection detect(const QList<QByteArray>& filmRolls, const QList<QByteArray>& imagePaths,
                 const std::function<bool()>& cancelled) {
    Detection found;
    const QSet<QByteArray> named(imagePaths.cbegin(), imagePaths.cend());
    QSet<QByteArray> seen;
    for (const QByteArray& folder : filmRolls) {
        if (seen.contains(folder))
            continue;
        seen.insert(folder);
        if (cancelled && cancelled()) {
            found.cancelled = true;
            found.zombies.clear();
            return found;
        }
        const std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.constData()));
        if (!dir)
            continue;
        const int at = ::dirfd(dir.get());
        while (const dirent* entry = ::readdir(dir.get())) {
            const QByteArray name(entry->d_name);
            if (!importable(name))
                continue;
            const QByteArray path = folder + '/' + name;
            if (named.contains(path))
                continue;
            struct stat info {};
            if (::fstatat(at, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0)
                continue;
            if (S_ISLNK(info.st_mode))
                found.links.append(path);
            else if (S_ISREG(info.st_mode))
                found.zombies.append(path);
        }
    }
    return found;
}

} // namespace DarktableZombies
