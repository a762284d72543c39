/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "tests/support/ChildProcess.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QFile>
#include <QHash>
#include <QList>
#include <dirent.h>
#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

// Small file-system helpers for tests, on native paths (bytes).
namespace FileTree {

inline bool write(const QByteArray& path, const QByteArray& content) {
    for (qsizetype at = path.indexOf('/', 1); at > 0; at = path.indexOf('/', at + 1))
        ::mkdir(path.left(at).constData(), 0755);
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return false;
    const bool ok = ::write(fd, content.constData(), size_t(content.size())) == content.size();
    ::close(fd);
    return ok;
}

inline bool write(const QString& path, const QByteArray& content) {
    return write(QFile::encodeName(path), content);
}

inline QByteArray read(const QByteArray& path) {
    QByteArray out;
    const int fd = ::open(path.constData(), O_RDONLY);
    if (fd < 0)
        return out;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
        out.append(buffer, n);
    ::close(fd);
    return out;
}

inline QByteArray read(const QString& path) {
    return read(QFile::encodeName(path));
}

inline bool exists(const QByteArray& path) {
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0;
}

// Removes root and everything below it, whatever bytes the names hold (QDir cannot); what lies
// deeper than a path call reaches is left to rm.
inline void removeAll(const QByteArray& root) {
    ::nftw(
        root.constData(),
        [](const char* path, const struct stat*, int, struct FTW*) {
            ::chmod(path, 0700);
            ::remove(path);
            return 0;
        },
        16, FTW_DEPTH | FTW_PHYS);
    if (exists(root))
        runProgram(QStringLiteral("rm"), {QStringLiteral("-rf"), QFile::decodeName(root)});
}

// The folder `depth` levels of "d" below base, made with `create`: deeper than any path reaches.
// A descriptor the caller closes, or -1.
inline int deepFolder(const QByteArray& base, int depth, bool create) {
    int fd = ::open(base.constData(), O_RDONLY | O_DIRECTORY);
    for (int i = 0; fd >= 0 && i < depth; ++i) {
        if (create)
            ::mkdirat(fd, "d", 0755);
        const int next = ::openat(fd, "d", O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = next;
    }
    return fd;
}

// Every non-folder item below root, by relative path.
inline void listFiles(const QByteArray& root, const QByteArray& relative, QList<QByteArray>& out) {
    DIR* d = ::opendir((relative.isEmpty() ? root : root + '/' + relative).constData());
    if (!d)
        return;
    while (const dirent* e = ::readdir(d)) {
        const QByteArray name(e->d_name);
        if (name == "." || name == "..")
            continue;
        const QByteArray child = relative.isEmpty() ? name : relative + '/' + name;
        struct stat st {};
        if (::lstat((root + '/' + child).constData(), &st) == 0 && S_ISDIR(st.st_mode))
            listFiles(root, child, out);
        else
            out.append(child);
    }
    ::closedir(d);
}

inline QList<QByteArray> files(const QByteArray& root) {
    QList<QByteArray> out;
    listFiles(root, {}, out);
    std::sort(out.begin(), out.end());
    return out;
}

// What must never be lost: the contents of every regular file below the roots, counted.
inline QHash<QByteArray, int> contents(const QList<QByteArray>& roots) {
    QHash<QByteArray, int> out;
    for (const QByteArray& root : roots) {
        for (const QByteArray& relative : files(root)) {
            struct stat st {};
            const QByteArray path = root + '/' + relative;
            if (::lstat(path.constData(), &st) == 0 && S_ISREG(st.st_mode))
                ++out[QCryptographicHash::hash(read(path), QCryptographicHash::Sha256)];
        }
    }
    return out;
}

// The contents in `before` that `after` lacks (counted), as hex digests.
inline QList<QByteArray> lost(const QHash<QByteArray, int>& before, const QHash<QByteArray, int>& after) {
    QList<QByteArray> missing;
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        if (after.value(it.key()) < it.value())
            missing.append(it.key().toHex());
    }
    return missing;
}

} // namespace FileTree
