/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <optional>

// Hardware queries in the manner of BSD sysctl(3)/sysctlbyname(3), answered from uname, /proc and
// /sys. Each query fills a caller's buffer and updates its length; without a buffer it reports the
// size only. Integers keep their width (8 bytes for sizes and frequencies, 4 for counts and CPU
// identifiers); text comes with its terminating NUL. A query with no Linux meaning fails.
class SysctlShim {
public:
    static constexpr int kCtlHw = 6;
    static constexpr int kHwMachine = 1;
    static constexpr int kHwModel = 2;
    static constexpr int kHwNcpu = 3;
    static constexpr int kHwMemsize = 24;

    // `root` holds the proc/ and sys/ trees; tests give a folder of their own.
    explicit SysctlShim(QString root = QStringLiteral("/"));
    virtual ~SysctlShim();
    SysctlShim(const SysctlShim&) = default;
    SysctlShim& operator=(const SysctlShim&) = default;

    // 0 on success, -1 with errno set on failure (ENOENT unknown query, ENOMEM buffer too small).
    virtual int sysctl(const int* mib, unsigned length, void* buffer, std::size_t* size) const;
    virtual int sysctlbyname(const char* name, void* buffer, std::size_t* size) const;

    const QString& root() const { return rootPath; }

private:
    std::optional<QByteArray> valueForMIB(const int* mib, unsigned length) const;
    std::optional<QByteArray> valueForName(const QByteArray& name) const;
    QString path(const char* relative) const;

    QString rootPath;
};
