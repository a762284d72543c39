/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "platform/Sysctl.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QStringList>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <sys/utsname.h>

namespace {

// Mach-O CPU type numbers, so that a report reads the same whichever system wrote it.
constexpr std::int32_t kCpuArch64 = 0x01000000;
constexpr std::int32_t kCpuTypeX86 = 7;
constexpr std::int32_t kCpuTypeArm = 12;
constexpr std::int32_t kCpuTypePowerPC = 18;

template <typename T> QByteArray bytesOf(T value) {
    return QByteArray(reinterpret_cast<const char*>(&value), sizeof value);
}

QByteArray textValue(const QByteArray& text) {
    QByteArray value = text;
    value.append('\0');
    return value;
}

std::optional<QByteArray> readTrimmed(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray data = file.readAll();
    // Device-tree strings end in NUL; sysfs ones in a line feed.
    while (!data.isEmpty() && (data.endsWith('\0') || data.endsWith('\n') || data.endsWith(' ')))
        data.chop(1);
    if (data.isEmpty())
        return std::nullopt;
    return data;
}

// "0-3,5,7-8" -> 7
std::optional<std::int32_t> countOfCpuList(const QString& path) {
    const auto text = readTrimmed(path);
    if (!text)
        return std::nullopt;
    std::int64_t count = 0;
    for (const QByteArray& piece : text->split(',')) {
        const QList<QByteArray> bounds = piece.trimmed().split('-');
        bool okLow = false;
        bool okHigh = true;
        const long long low = bounds.value(0).toLongLong(&okLow);
        const long long high = bounds.size() > 1 ? bounds.at(1).toLongLong(&okHigh) : low;
        if (!okLow || !okHigh || high < low || bounds.size() > 2)
            return std::nullopt;
        count += high - low + 1;
    }
    return static_cast<std::int32_t>(count);
}

using CpuinfoBlock = QList<QPair<QByteArray, QByteArray>>;

// The "key : value" lines of /proc/cpuinfo, one list per processor block.
QList<CpuinfoBlock> cpuinfoBlocks(const QString& path) {
    QList<CpuinfoBlock> blocks;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return blocks;
    blocks.append(CpuinfoBlock());
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.trimmed().isEmpty()) {
            if (!blocks.last().isEmpty())
                blocks.append(CpuinfoBlock());
            continue;
        }
        const qsizetype colon = line.indexOf(':');
        if (colon < 0)
            continue;
        blocks.last().append(qMakePair(line.left(colon).trimmed(), line.mid(colon + 1).trimmed()));
    }
    if (blocks.last().isEmpty())
        blocks.removeLast();
    return blocks;
}

std::optional<QByteArray> firstCpuinfoValue(const QString& path, const QByteArray& key) {
    for (const auto& block : cpuinfoBlocks(path))
        for (const auto& [k, v] : block)
            if (k == key)
                return v;
    return std::nullopt;
}

std::optional<std::int32_t> cpuTypeOfMachine(const QByteArray& machine) {
    if (machine == "x86_64")
        return kCpuTypeX86 | kCpuArch64;
    if (machine.size() == 4 && machine.startsWith('i') && machine.endsWith("86"))
        return kCpuTypeX86;
    if (machine == "aarch64" || machine == "arm64")
        return kCpuTypeArm | kCpuArch64;
    if (machine.startsWith("arm"))
        return kCpuTypeArm;
    if (machine == "ppc64" || machine == "ppc64le")
        return kCpuTypePowerPC | kCpuArch64;
    if (machine == "ppc")
        return kCpuTypePowerPC;
    return std::nullopt;
}

QByteArray unameMachine() {
    struct utsname names {};
    if (::uname(&names) != 0)
        return {};
    return QByteArray(names.machine);
}

int answer(const std::optional<QByteArray>& value, void* buffer, std::size_t* size) {
    if (!size) {
        errno = EINVAL;
        return -1;
    }
    if (!value) {
        errno = ENOENT;
        return -1;
    }
    const auto needed = static_cast<std::size_t>(value->size());
    if (!buffer) {
        *size = needed;
        return 0;
    }
    if (*size < needed) {
        errno = ENOMEM;
        return -1;
    }
    std::memcpy(buffer, value->constData(), needed);
    *size = needed;
    return 0;
}

} // namespace

SysctlShim::SysctlShim(QString root) : rootPath(std::move(root)) {}
SysctlShim::~SysctlShim() = default;

QString SysctlShim::path(const char* relative) const {
    return QDir(rootPath).filePath(QString::fromLatin1(relative));
}

int SysctlShim::sysctl(const int* mib, unsigned length, void* buffer, std::size_t* size) const {
    if (!mib) {
        errno = EINVAL;
        return -1;
    }
    return answer(valueForMIB(mib, length), buffer, size);
}

int SysctlShim::sysctlbyname(const char* name, void* buffer, std::size_t* size) const {
    if (!name) {
        errno = EINVAL;
        return -1;
    }
    return answer(valueForName(QByteArray(name)), buffer, size);
}

std::optional<QByteArray> SysctlShim::valueForMIB(const int* mib, unsigned length) const {
    if (length != 2 || mib[0] != kCtlHw)
        return std::nullopt;
    switch (mib[1]) {
    case kHwMachine: {
        const QByteArray machine = unameMachine();
        return machine.isEmpty() ? std::nullopt : std::optional(textValue(machine));
    }
    case kHwModel: {
        auto model = readTrimmed(path("sys/class/dmi/id/product_name"));
        if (!model)
            model = readTrimmed(path("proc/device-tree/model"));
        return model ? std::optional(textValue(*model)) : std::nullopt;
    }
    case kHwNcpu: {
        const auto count = countOfCpuList(path("sys/devices/system/cpu/present"));
        return count ? std::optional(bytesOf(*count)) : std::nullopt;
    }
    case kHwMemsize: {
        QFile meminfo(path("proc/meminfo"));
        if (!meminfo.open(QIODevice::ReadOnly))
            return std::nullopt;
        for (const QByteArray& line : meminfo.readAll().split('\n')) {
            if (!line.startsWith("MemTotal:"))
                continue;
            const QList<QByteArray> words = line.mid(9).simplified().split(' ');
            bool ok = false;
            const std::int64_t kib = words.value(0).toLongLong(&ok);
            if (!ok || kib < 0 || (words.size() > 1 && words.at(1) != "kB"))
                return std::nullopt;
            return bytesOf(kib * 1024);
        }
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

std::optional<QByteArray> SysctlShim::valueForName(const QByteArray& name) const {
    if (name == "hw.cpufrequency") {
        if (const auto khz = readTrimmed(path("sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq"))) {
            bool ok = false;
            const std::int64_t value = khz->toLongLong(&ok);
            if (ok && value > 0)
                return bytesOf(value * 1000);
        }
        if (const auto mhz = firstCpuinfoValue(path("proc/cpuinfo"), "cpu MHz")) {
            bool ok = false;
            const double value = mhz->toDouble(&ok);
            if (ok && value > 0)
                return bytesOf(static_cast<std::int64_t>(std::llround(value * 1e6)));
        }
        return std::nullopt;
    }
    if (name == "hw.cpufamily") {
        const auto family = firstCpuinfoValue(path("proc/cpuinfo"), "cpu family");
        bool ok = false;
        const std::uint32_t value = family ? family->toUInt(&ok) : 0;
        // The 32 bits as they are: a family number with the top bit set reads back negative.
        return ok ? std::optional(bytesOf(value)) : std::nullopt;
    }
    if (name == "hw.cputype") {
        const auto type = cpuTypeOfMachine(unameMachine());
        return type ? std::optional(bytesOf(*type)) : std::nullopt;
    }
    if (name == "hw.logicalcpu") {
        const auto count = countOfCpuList(path("sys/devices/system/cpu/online"));
        return count ? std::optional(bytesOf(*count)) : std::nullopt;
    }
    if (name == "hw.physicalcpu") {
        QSet<QByteArray> cores;
        for (const auto& block : cpuinfoBlocks(path("proc/cpuinfo"))) {
            QByteArray package;
            QByteArray core;
            for (const auto& [k, v] : block) {
                if (k == "physical id")
                    package = v;
                else if (k == "core id")
                    core = v;
            }
            if (!core.isEmpty())
                cores.insert(package + '/' + core);
        }
        if (cores.isEmpty())
            return std::nullopt;
        return bytesOf(static_cast<std::int32_t>(cores.size()));
    }
    // hw.busfrequency, hw.cpusubtype and anything else: Linux does not know them.
    return std::nullopt;
}
