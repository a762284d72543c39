/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QByteArray>

// A path's folder and last name, as the bytes the file system sees: no normalisation, so that
// "a//b" or a name with a trailing slash is split exactly where the kernel would look.
namespace PathNames {

// "a/b/c" -> "a/b"; "/c" -> ""; "c" -> "".
inline QByteArray directoryOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray() : path.left(slash);
}

// "a/b/c" -> "c"; "c" -> "c".
inline QByteArray lastComponentOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? path : path.mid(slash + 1);
}

} // namespace PathNames
