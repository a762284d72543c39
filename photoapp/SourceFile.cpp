/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "photoapp/SourceFile.h"

#include "wire/PhotoAppWire.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qsizetype kChunk = 1 << 20;

SourceFile::Content refused(const char* reason) {
    SourceFile::Content c;
    c.refusal = QString::fromLatin1(reason);
    return c;
}

class Descriptor {
public:
    explicit Descriptor(int f) : fd(f) {}
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    const int fd;
};

} // namespace

namespace SourceFile {

Content read(const QByteArray& path, const std::function<bool()>& stop,
             const std::function<bool(const QByteArray&)>& mayBeWanted) {
    const Descriptor file(
        ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC));
    if (file.fd < 0) {
        switch (errno) {
        case ENOENT:
        case ENOTDIR:
            return refused(PhotoAppWire::kRefusedNotFound);
        case ELOOP: // a link put in the file's place
        case ENXIO: // a socket
            return refused(PhotoAppWire::kRefusedNotRegularFile);
        default:
            return refused(PhotoAppWire::kRefusedNotReadable);
        }
    }
    struct stat st = {};
    if (::fstat(file.fd, &st) != 0)
        return refused(PhotoAppWire::kRefusedNotReadable);
    if (!S_ISREG(st.st_mode))
        return refused(PhotoAppWire::kRefusedNotRegularFile);
    if (st.st_size > kMaxBytes)
        return refused(PhotoAppWire::kRefusedTooLarge);

    Content content;
    for (;;) {
        if (stop && stop()) {
            content.stopped = true;
            return content;
        }
        const qsizetype had = content.bytes.size();
        content.bytes.resize(had + kChunk);
        const ssize_t n = ::read(file.fd, content.bytes.data() + had, static_cast<size_t>(kChunk));
        content.bytes.resize(had + std::max<ssize_t>(n, 0));
        if (n == 0)
            return content;
        if (n < 0) {
            if (errno != EINTR)
                return refused(PhotoAppWire::kRefusedNotReadable);
            continue;
        }
        // The whole file is held only once its start says it may be an image.
        if (had == 0) {
            if (mayBeWanted && !mayBeWanted(content.bytes))
                return refused(PhotoAppWire::kRefusedNotAnImage);
            content.bytes.reserve(static_cast<qsizetype>(st.st_size) + kChunk);
        }
        if (content.bytes.size() > kMaxBytes)
            return refused(PhotoAppWire::kRefusedTooLarge); // it grew while being read
    }
}

} // namespace SourceFile
