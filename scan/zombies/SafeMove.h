/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "platform/PathNames.h"

#include <QByteArray>
#include <QtGlobal>
#include <sys/types.h>

// Moves of the user's files, on native paths (bytes: a name need not be valid UTF-8). A move
// never replaces anything at the target. Within one file system it is a rename; across file
// systems the file is copied without a name, the copy compared with the original, named, and
// only then the original unlinked, so an interrupted or failed move leaves the original in place
// and no partial file under any name.
namespace SafeMove {

enum class Outcome { Moved, TargetExists, SourceMissing, Failed };

// Owns a file descriptor.
class Fd {
public:
    explicit Fd(int fd = -1) : value(fd) {}
    ~Fd() { reset(); }
    Fd(Fd&& other) noexcept : value(other.value) { other.value = -1; }
    Fd& operator=(Fd&& other) noexcept;
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return value; }
    bool valid() const { return value >= 0; }
    void reset(int fd = -1);

private:
    int value;
};

Outcome moveItem(const QByteArray& from, const QByteArray& to);
// The same between open folders; the names are single path components.
Outcome moveItemAt(int fromFolder, const QByteArray& fromName, int toFolder, const QByteArray& toName);

// Opens `base` as given (links followed: where a library lives is the user's choice), then each
// component of `relative` without following links, so that no depth is too deep and no link
// swapped in below `base` leads elsewhere. With `create`, missing folders are made with `mode`.
// Invalid on failure, with errno set; ".." is refused.
Fd openFolder(const QByteArray& base, const QByteArray& relative, bool create = false, mode_t mode = 0700);

// One open folder below a base at a time: files come folder by folder, so the last folder opened
// is nearly always the one wanted next.
class FolderCache {
public:
    // Folders it makes get `folderMode`, less the umask.
    explicit FolderCache(QByteArray baseFolder, mode_t folderMode = 0700)
        : base(std::move(baseFolder)), mode(folderMode) {}
    // From now on the base must be the folder with this identity, reached without a link as its
    // last component: a folder swapped in its place (or a link to one elsewhere) opens nothing.
    void pin(quint64 device, quint64 inode);
    // The folder's descriptor, -1 when it cannot be opened (or made, with `create`).
    int open(const QByteArray& relative, bool create = false);

private:
    QByteArray base;
    mode_t mode;
    QByteArray current;
    Fd fd;
    bool pinned = false;
    quint64 pinnedDevice = 0;
    quint64 pinnedInode = 0;
};

// The number of items other than folders below root, at any depth; 0 when root is gone.
qsizetype filesBelow(const QByteArray& root);

// Removes the folders below and including root, deepest first, but only those that are
// empty: files are never deleted. True when root itself is gone.
bool removeEmptyFolders(const QByteArray& root);

// True when both are regular files holding the same bytes.
bool sameContent(const QByteArray& a, const QByteArray& b);
bool sameContent(int a, int b); // open files

using PathNames::directoryOf;
using PathNames::lastComponentOf;

} // namespace SafeMove
