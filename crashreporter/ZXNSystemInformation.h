/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "platform/Sysctl.h"

#include <QString>
#include <memory>
#include <optional>

// Facts about the machine and the system, read at the moment they are asked for. A fact that
// cannot be read is absent. Instances are interchangeable: they hold only where to read from.
class ZXNSystemInformation {
public:
    // Shared instance reading the running system.
    static ZXNSystemInformation& instance();

    ZXNSystemInformation();
    // Reads below `root` (proc/, sys/, etc/) through a query facility of the caller's choice.
    ZXNSystemInformation(std::shared_ptr<const SysctlShim> queries, QString root);

    std::optional<QString> machine() const;
    std::optional<QString> model() const;
    std::optional<qint64> physicalMemory() const;
    std::optional<qint64> busFrequency() const;
    std::optional<qint64> CPUFrequency() const;
    std::optional<qint64> CPUFamily() const;
    std::optional<qint64> CPUType() const;
    std::optional<qint64> CPUSubtype() const;
    std::optional<qint64> numberOfCPUs() const;
    std::optional<qint64> physicalCPUs() const;
    std::optional<qint64> logicalCPUs() const;
    std::optional<QString> systemVersion() const;
    std::optional<QString> systemBuildVersion() const;

    // The three query forms behind the values above.
    std::optional<QString> stringForMIB(const int* mib, unsigned length) const;
    std::optional<qint64> int64ForSysctlName(const char* name) const;
    std::optional<qint64> int32ForSysctlName(const char* name) const;

private:
    std::optional<qint64> int64ForMIB(int second) const;
    std::optional<qint64> int32ForMIB(int second) const;

    std::shared_ptr<const SysctlShim> queries;
    QString root;
};
