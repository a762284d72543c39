#include "scan/SafeMove.h"

#include <QList>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Owns a file descriptor.
class Fd {
public:
    explicit Fd(int fd = -1) : value(fd) {}
    ~Fd() { reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return value; }
    bool valid() const { return value >= 0; }
    void reset() {
        if (value >= 0)
            ::close(value);
        value = -1;
    }

private:
    int value;
};

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

// Copy, verify, then unlink: the original goes only once an identical copy is on disk.
SafeMove::Outcome copyThenUnlink(const QByteArray& from, const QByteArray& to, const struct stat& st) {
    if (S_ISLNK(st.st_mode)) {
        QByteArray target(4096, Qt::Uninitialized);
        const ssize_t n = ::readlink(from.constData(), target.data(), static_cast<size_t>(target.size()));
        if (n < 0 || n >= target.size())
            return SafeMove::Outcome::Failed;
        target.truncate(n);
        if (::symlink(target.constData(), to.constData()) != 0)
            return errno == EEXIST ? SafeMove::Outcome::TargetExists : SafeMove::Outcome::Failed;
        if (::unlink(from.constData()) != 0) {
            ::unlink(to.constData());
            return SafeMove::Outcome::Failed;
        }
        return SafeMove::Outcome::Moved;
    }
    if (!S_ISREG(st.st_mode))
        return SafeMove::Outcome::Failed;

    Fd in(::open(from.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    if (!in.valid())
        return SafeMove::Outcome::Failed;
    Fd out(::open(to.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, st.st_mode & 07777));
    if (!out.valid())
        return errno == EEXIST ? SafeMove::Outcome::TargetExists : SafeMove::Outcome::Failed;

    bool good = true;
    QByteArray buffer(1 << 16, Qt::Uninitialized);
    for (;;) {
        const ssize_t n = readSome(in.get(), buffer.data(), static_cast<size_t>(buffer.size()));
        if (n < 0) {
            good = false;
            break;
        }
        if (n == 0)
            break;
        if (!writeAll(out.get(), buffer.constData(), n)) {
            good = false;
            break;
        }
    }
    good = good && ::fsync(out.get()) == 0 && sameBytes(in.get(), out.get());
    if (good) {
        const struct timespec times[2] = {st.st_atim, st.st_mtim};
        ::futimens(out.get(), times);
    }
    out.reset();
    if (!good || ::unlink(from.constData()) != 0) {
        ::unlink(to.constData());
        return SafeMove::Outcome::Failed;
    }
    return SafeMove::Outcome::Moved;
}

} // namespace

namespace SafeMove {

Outcome moveItem(const QByteArray& from, const QByteArray& to) {
    struct stat st {};
    if (::lstat(from.constData(), &st) != 0)
        return Outcome::SourceMissing;
    if (S_ISDIR(st.st_mode))
        return Outcome::Failed;
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return Outcome::Moved;
    if (errno == EEXIST)
        return Outcome::TargetExists;
    if (errno == EINVAL || errno == ENOSYS) {
        // A file system without no-replace renames: a hard link refuses to replace as well.
        if (::link(from.constData(), to.constData()) == 0) {
            if (::unlink(from.constData()) == 0)
                return Outcome::Moved;
            ::unlink(to.constData());
            return Outcome::Failed;
        }
        if (errno == EEXIST)
            return Outcome::TargetExists;
    }
    if (errno == EXDEV)
        return copyThenUnlink(from, to, st);
    return Outcome::Failed;
}

bool makePath(const QByteArray& dir) {
    if (dir.isEmpty())
        return false;
    struct stat st {};
    if (::stat(dir.constData(), &st) == 0)
        return S_ISDIR(st.st_mode);
    qsizetype at = dir.startsWith('/') ? 1 : 0;
    while (at <= dir.size()) {
        qsizetype slash = dir.indexOf('/', at);
        if (slash < 0)
            slash = dir.size();
        if (slash > at) {
            const QByteArray prefix = dir.left(slash);
            if (::mkdir(prefix.constData(), 0777) != 0 && errno != EEXIST)
                return false;
        }
        at = slash + 1;
    }
    return ::stat(dir.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool removeEmptyFolders(const QByteArray& root) {
    DIR* d = ::opendir(root.constData());
    if (!d)
        return false;
    QList<QByteArray> subfolders;
    while (const dirent* e = ::readdir(d)) {
        const QByteArray name(e->d_name);
        if (name == "." || name == "..")
            continue;
        struct stat st {};
        const QByteArray child = root + '/' + name;
        if (::lstat(child.constData(), &st) == 0 && S_ISDIR(st.st_mode))
            subfolders.append(child);
    }
    ::closedir(d);
    for (const QByteArray& sub : subfolders)
        removeEmptyFolders(sub);
    return ::rmdir(root.constData()) == 0;
}

bool sameContent(const QByteArray& a, const QByteArray& b) {
    Fd first(::open(a.constData(), O_RDONLY | O_CLOEXEC));
    Fd second(::open(b.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    struct stat stA {
    }, stB{};
    return first.valid() && second.valid() && ::fstat(first.get(), &stA) == 0 &&
           ::fstat(second.get(), &stB) == 0 && S_ISREG(stA.st_mode) && S_ISREG(stB.st_mode) &&
           stA.st_size == stB.st_size && sameBytes(first.get(), second.get());
}

QByteArray directoryOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray() : path.left(slash);
}

QByteArray lastComponentOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? path : path.mid(slash + 1);
}

} // namespace SafeMove
