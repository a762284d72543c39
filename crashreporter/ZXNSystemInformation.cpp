/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "crashreporter/ZXNSystemInformation.h"

#include "crashreporter/ZXNException.h"
#include "platform/OsRelease.h"

#include <cstdint>
#include <cstdlib>

ZXNSystemInformation& ZXNSystemInformation::instance() {
    // A function-local static is created exactly once even when first calls race.
    static ZXNSystemInformation shared;
    return shared;
}

ZXNSystemInformation::ZXNSystemInformation()
    : ZXNSystemInformation(std::make_shared<SysctlShim>(), QStringLiteral("/")) {}

ZXNSystemInformation::ZXNSystemInformation(std::shared_ptr<const SysctlShim> q, QString r)
    : queries(std::move(q)), root(std::move(r)) {}

std::optional<QString> ZXNSystemInformation::stringForMIB(const int* mib, unsigned length) const {
    checkParameter(mib != nullptr, "NULL != mib");
    std::size_t size = 0;
    if (queries->sysctl(mib, length, nullptr, &size) != 0 || size == 0)
        return std::nullopt;
    std::unique_ptr<char, decltype(&std::free)> buffer(static_cast<char*>(std::malloc(size)), &std::free);
    if (!buffer)
        return std::nullopt;
    if (queries->sysctl(mib, length, buffer.get(), &size) != 0 || size == 0)
        return std::nullopt;
    // The last byte is the value's terminating NUL.
    return QString::fromLatin1(buffer.get(), static_cast<qsizetype>(size - 1));
}

std::optional<qint64> ZXNSystemInformation::int64ForSysctlName(const char* name) const {
    checkParameter(name != nullptr, "NULL != name");
    std::int64_t value = 0;
    std::size_t size = sizeof value;
    if (queries->sysctlbyname(name, &value, &size) != 0)
        return std::nullopt;
    return value;
}

std::optional<qint64> ZXNSystemInformation::int32ForSysctlName(const char* name) const {
    checkParameter(name != nullptr, "NULL != name");
    std::int32_t value = 0;
    std::size_t size = sizeof value;
    if (queries->sysctlbyname(name, &value, &size) != 0)
        return std::nullopt;
    return static_cast<qint64>(value);
}

std::optional<qint64> ZXNSystemInformation::int64ForMIB(int second) const {
    const int mib[2] = {SysctlShim::kCtlHw, second};
    std::int64_t value = 0;
    std::size_t size = sizeof value;
    if (queries->sysctl(mib, 2, &value, &size) != 0)
        return std::nullopt;
    return value;
}

std::optional<qint64> ZXNSystemInformation::int32ForMIB(int second) const {
    const int mib[2] = {SysctlShim::kCtlHw, second};
    std::int32_t value = 0;
    std::size_t size = sizeof value;
    if (queries->sysctl(mib, 2, &value, &size) != 0)
        return std::nullopt;
    return static_cast<qint64>(value);
}

std::optional<QString> ZXNSystemInformation::machine() const {
    const int mib[2] = {SysctlShim::kCtlHw, SysctlShim::kHwMachine};
    return stringForMIB(mib, 2);
}

std::optional<QString> ZXNSystemInformation::model() const {
    const int mib[2] = {SysctlShim::kCtlHw, SysctlShim::kHwModel};
    return stringForMIB(mib, 2);
}

std::optional<qint64> ZXNSystemInformation::physicalMemory() const {
    return int64ForMIB(SysctlShim::kHwMemsize);
}
std::optional<qint64> ZXNSystemInformation::busFrequency() const {
    return int64ForSysctlName("hw.busfrequency");
}
std::optional<qint64> ZXNSystemInformation::CPUFrequency() const {
    return int64ForSysctlName("hw.cpufrequency");
}
std::optional<qint64> ZXNSystemInformation::CPUFamily() const {
    return int32ForSysctlName("hw.cpufamily");
}
std::optional<qint64> ZXNSystemInformation::CPUType() const {
    return int32ForSysctlName("hw.cputype");
}
std::optional<qint64> ZXNSystemInformation::CPUSubtype() const {
    return int32ForSysctlName("hw.cpusubtype");
}
std::optional<qint64> ZXNSystemInformation::numberOfCPUs() const {
    return int32ForMIB(SysctlShim::kHwNcpu);
}
std::optional<qint64> ZXNSystemInformation::physicalCPUs() const {
    return int32ForSysctlName("hw.physicalcpu");
}
std::optional<qint64> ZXNSystemInformation::logicalCPUs() const {
    return int32ForSysctlName("hw.logicalcpu");
}

std::optional<QString> ZXNSystemInformation::systemVersion() const {
    return OsRelease::value(QString::fromLatin1(OsRelease::kVersionId), root);
}

std::optional<QString> ZXNSystemInformation::systemBuildVersion() const {
    return OsRelease::value(QString::fromLatin1(OsRelease::kBuildId), root);
}
