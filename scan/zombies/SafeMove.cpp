/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "scan/zombies/SafeMove.h"

#include <QList>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using SafeMove::Fd;
using SafeMove::Outcome;

bool writeAll(int fd, const char* data, ssize_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

ssize_t readSome(int fd, char* buffer, size_t size) {
    for (;;) {
        const ssize_t n = ::read(fd, buffer, size);
        if (n >= 0 || errno != EINTR)
            return n;
    }
}

bool sameBytes(int a, int b) {
    if (::lseek(a, 0, SEEK_SET) != 0 || ::lseek(b, 0, SEEK_SET) != 0)
        return false;
    constexpr size_t kChunk = 1 << 16;
    QByteArray bufA(kChunk, Qt::Uninitialized), bufB(kChunk, Qt::Uninitialized);
    for (;;) {
        const ssize_t na = readSome(a, bufA.data(), kChunk);
        if (na < 0)
            return false;
        ssize_t got = 0;
        while (got < na) {
            const ssize_t nb = readSome(b, bufB.data() + got, static_cast<size_t>(na - got));
            if (nb <= 0)
                return false;
            got += nb;
        }
        if (na == 0) {
            char extra;
            return readSome(b, &extra, 1) == 0;
        }
        if (memcmp(bufA.constData(), bufB.constData(), static_cast<size_t>(na)) != 0)
            return false;
    }
}

Outcome copyLink(int fromDir, const char* from, int toDir, const char* to) {
    QByteArray target(4096, Qt::Uninitialized);
    const ssize_t n = ::readlinkat(fromDir, from, target.data(), static_cast<size_t>(target.size()));
    if (n < 0 || n >= target.size())
        return Outcome::Failed;
    target.truncate(n);
    if (::symlinkat(target.constData(), toDir, to) != 0)
        return errno == EEXIST ? Outcome::TargetExists : Outcome::Failed;
    if (::unlinkat(fromDir, from, 0) != 0) {
        ::unlinkat(toDir, to, 0);
        return Outcome::Failed;
    }
    return Outcome::Moved;
}

bool copyBytes(int in, int out) {
    QByteArray buffer(1 << 16, Qt::Uninitialized);
    for (;;) {
        const ssize_t n = readSome(in, buffer.data(), static_cast<size_t>(buffer.size()));
        if (n <= 0)
            return n == 0;
        if (!writeAll(out, buffer.constData(), n))
            return false;
    }
}

// Copy, verify, then unlink: the original goes only once an identical copy is on disk. The copy
// is made without a name and linked in once complete, so a process killed half-way leaves no
// partial file to be taken for the user's; only where the file system cannot do that is the copy
// written under its final name.
Outcome copyThenUnlink(int fromDir, const char* from, int toDir, const char* to, const struct stat& st) {
    if (S_ISLNK(st.st_mode))
        return copyLink(fromDir, from, toDir, to);
    if (!S_ISREG(st.st_mode))
        return Outcome::Failed;

    Fd in(::openat(fromDir, from, O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    if (!in.valid())
        return Outcome::Failed;
    const mode_t mode = st.st_mode & 07777;
    bool named = false;
    Fd out(::openat(toDir, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, mode));
    if (!out.valid()) {
        out.reset(::openat(toDir, to, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
        if (!out.valid())
            return errno == EEXIST ? Outcome::TargetExists : Outcome::Failed;
        named = true;
    }
    bool good = copyBytes(in.get(), out.get()) && ::fsync(out.get()) == 0 && sameBytes(in.get(), out.get());
    if (good) {
        const struct timespec times[2] = {st.st_atim, st.st_mtim};
        ::futimens(out.get(), times);
        ::fchmod(out.get(), mode);
    }
    if (good && !named) {
        char self[64];
        std::snprintf(self, sizeof self, "/proc/self/fd/%d", out.get());
        if (::linkat(AT_FDCWD, self, toDir, to, AT_SYMLINK_FOLLOW) != 0)
            return errno == EEXIST ? Outcome::TargetExists : Outcome::Failed;
        named = true;
    }
    out.reset();
    if (!good || ::unlinkat(fromDir, from, 0) != 0) {
        if (named)
            ::unlinkat(toDir, to, 0);
        return Outcome::Failed;
    }
    return Outcome::Moved;
}

} // namespace

namespace SafeMove {

Fd& Fd::operator=(Fd&& other) noexcept {
    if (this != &other) {
        reset(other.value);
        other.value = -1;
    }
    return *this;
}

void Fd::reset(int fd) {
    if (value >= 0)
        ::close(value);
    value = fd;
}

Outcome moveItemAt(int fromFolder, const QByteArray& fromName, int toFolder, const QByteArray& toName) {
    const char* from = fromName.constData();
    const char* to = toName.constData();
    struct stat st {};
    if (::fstatat(fromFolder, from, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? Outcome::SourceMissing : Outcome::Failed;
    if (S_ISDIR(st.st_mode))
        return Outcome::Failed;
    if (::renameat2(fromFolder, from, toFolder, to, RENAME_NOREPLACE) == 0)
        return Outcome::Moved;
    if (errno == EEXIST)
        return Outcome::TargetExists;
    if (errno == EINVAL || errno == ENOSYS) {
        // A file system without no-replace renames: a hard link refuses to replace as well.
        if (::linkat(fromFolder, from, toFolder, to, 0) == 0) {
            if (::unlinkat(fromFolder, from, 0) == 0)
                return Outcome::Moved;
            ::unlinkat(toFolder, to, 0);
            return Outcome::Failed;
        }
        if (errno == EEXIST)
            return Outcome::TargetExists;
    }
    if (errno == EXDEV)
        return copyThenUnlink(fromFolder, from, toFolder, to, st);
    return Outcome::Failed;
}

Outcome moveItem(const QByteArray& from, const QByteArray& to) {
    const auto folderOf = [](const QByteArray& path) {
        const QByteArray folder = path.contains('/') ? directoryOf(path) + '/' : QByteArray(".");
        return Fd(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    };
    const Fd fromFolder = folderOf(from);
    if (!fromFolder.valid())
        return errno == ENOENT ? Outcome::SourceMissing : Outcome::Failed;
    const Fd toFolder = folderOf(to);
    if (!toFolder.valid())
        return Outcome::Failed;
    return moveItemAt(fromFolder.get(), lastComponentOf(from), toFolder.get(), lastComponentOf(to));
}

namespace {

// Lists the real folders right below `root` (links are not followed) and counts everything else;
// -1 when `root` cannot be read.
qsizetype childrenOf(const QByteArray& root, QList<QByteArray>& subfolders) {
    DIR* d = ::opendir(root.constData());
    if (!d)
        return -1;
    qsizetype others = 0;
    while (const dirent* e = ::readdir(d)) {
        const QByteArray name(e->d_name);
        if (name == "." || name == "..")
            continue;
        struct stat st {};
        const QByteArray child = root + '/' + name;
        if (::lstat(child.constData(), &st) == 0 && S_ISDIR(st.st_mode))
            subfolders.append(child);
        else
            ++others;
    }
    ::closedir(d);
    return others;
}

// Each component of `relative` below an open folder, without following links.
Fd openBelow(Fd folder, const QByteArray& relative, bool create, mode_t mode) {
    qsizetype at = 0;
    while (folder.valid() && at < relative.size()) {
        qsizetype end = relative.indexOf('/', at);
        if (end < 0)
            end = relative.size();
        const QByteArray part = relative.mid(at, end - at);
        at = end + 1;
        if (part.isEmpty() || part == ".")
            continue;
        if (part == "..") {
            errno = EINVAL;
            return Fd();
        }
        constexpr int kFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
        int next = ::openat(folder.get(), part.constData(), kFlags);
        if (next < 0 && errno == ENOENT && create &&
            (::mkdirat(folder.get(), part.constData(), mode) == 0 || errno == EEXIST))
            next = ::openat(folder.get(), part.constData(), kFlags);
        folder.reset(next);
    }
    return folder;
}

} // namespace

Fd openFolder(const QByteArray& base, const QByteArray& relative, bool create, mode_t mode) {
    return openBelow(Fd(::open(base.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)), relative, create,
                     mode);
}

void FolderCache::pin(quint64 device, quint64 inode) {
    pinned = true;
    pinnedDevice = device;
    pinnedInode = inode;
    fd.reset();
}

int FolderCache::open(const QByteArray& relative, bool create) {
    if (relative != current || !fd.valid()) {
        current = relative;
        // A pinned base is that very folder, never a link put in its place.
        Fd root(::open(base.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | (pinned ? O_NOFOLLOW : 0)));
        struct stat st {};
        if (pinned && root.valid() &&
            (::fstat(root.get(), &st) != 0 || quint64(st.st_dev) != pinnedDevice ||
             quint64(st.st_ino) != pinnedInode)) {
            root.reset();
            errno = EXDEV;
        }
        fd = openBelow(std::move(root), relative, create, mode);
    }
    return fd.get();
}

qsizetype filesBelow(const QByteArray& root) {
    QList<QByteArray> subfolders;
    qsizetype n = std::max<qsizetype>(childrenOf(root, subfolders), 0);
    for (const QByteArray& sub : subfolders)
        n += filesBelow(sub);
    return n;
}

bool removeEmptyFolders(const QByteArray& root) {
    QList<QByteArray> subfolders;
    if (childrenOf(root, subfolders) < 0)
        return false;
    for (const QByteArray& sub : subfolders)
        removeEmptyFolders(sub);
    return ::rmdir(root.constData()) == 0;
}

bool sameContent(int a, int b) {
    struct stat stA {
    }, stB{};
    return a >= 0 && b >= 0 && ::fstat(a, &stA) == 0 && ::fstat(b, &stB) == 0 && S_ISREG(stA.st_mode) &&
           S_ISREG(stB.st_mode) && stA.st_size == stB.st_size && sameBytes(a, b);
}

bool sameContent(const QByteArray& a, const QByteArray& b) {
    const Fd first(::open(a.constData(), O_RDONLY | O_CLOEXEC));
    const Fd second(::open(b.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    return sameContent(first.get(), second.get());
}

} // namespace SafeMove
