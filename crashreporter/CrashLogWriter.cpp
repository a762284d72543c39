/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "crashreporter/CrashLogWriter.h"

#include "crashreporter/ZXNCrashReporter.h"
#include "platform/BundleInfo.h"
#include "platform/LibraryFolders.h"
#include "platform/OsRelease.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QHostInfo>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <execinfo.h>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/utsname.h>
#include <unistd.h>

namespace {

constexpr int kFatalSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT, SIGTRAP, SIGSYS};
constexpr int kMaxFrames = 128;

// Prepared at install time; read-only inside the handler.
char folderPrefix[4096];   // ".../Logs/DiagnosticReports/Vup_"
char hostSuffix[300];      // "_host.crash"
char header[4096];         // the lines that do not change between crashes
long utcOffsetSeconds = 0; // local time of the stamp, as at install
std::atomic<bool> writing{false};
std::atomic<bool> written{false};
constexpr int kWaitForOtherWriterSteps = 200; // 10 ms each
alignas(16) char alternateStack[64 * 1024];

// ---- async-signal-safe text building: fixed buffers, no allocation ----

template <std::size_t Capacity = 512> struct Text {
    char text[Capacity];
    std::size_t length = 0;
    bool truncated = false;

    void add(const char* s) {
        while (*s && length + 1 < sizeof text)
            text[length++] = *s++;
        truncated = truncated || *s != '\0';
        text[length] = '\0';
    }
    void addUnsigned(std::uint64_t value, unsigned base = 10, int minDigits = 1) {
        char digits[24];
        int n = 0;
        do {
            digits[n++] = "0123456789abcdef"[value % base];
            value /= base;
        } while (value != 0 && n < 24);
        while (n < minDigits && n < 24)
            digits[n++] = '0';
        while (n > 0 && length + 1 < sizeof text)
            text[length++] = digits[--n];
        truncated = truncated || n > 0;
        text[length] = '\0';
    }
    void addSigned(std::int64_t value) {
        if (value < 0) {
            add("-");
            addUnsigned(static_cast<std::uint64_t>(-(value + 1)) + 1);
        } else {
            addUnsigned(static_cast<std::uint64_t>(value));
        }
    }
};
using Line = Text<>;
// The crash log's path: the prepared folder and host parts with the stamp between them.
using PathText = Text<sizeof folderPrefix + sizeof hostSuffix + 64>;

void writeAll(int fd, const char* data, std::size_t length) {
    while (length > 0) {
        const ssize_t n = ::write(fd, data, length);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        data += n;
        length -= static_cast<std::size_t>(n);
    }
}

template <std::size_t Capacity> void writeLine(int fd, const Text<Capacity>& line) {
    writeAll(fd, line.text, line.length);
}

struct CivilTime {
    std::int64_t year;
    unsigned month, day, hour, minute, second;
};

// Days since 1970-01-01 to a proleptic Gregorian date (H. Hinnant's algorithm): no time zone
// database, no locks.
CivilTime civilFromSeconds(std::int64_t seconds) {
    std::int64_t days = seconds / 86400;
    std::int64_t rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned mp = (5 * dayOfYear + 2) / 153;
    const unsigned day = dayOfYear - (153 * mp + 2) / 5 + 1;
    const unsigned month = mp < 10 ? mp + 3 : mp - 9;
    const std::int64_t year = static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0);
    return {year,
            month,
            day,
            static_cast<unsigned>(rest / 3600),
            static_cast<unsigned>(rest % 3600 / 60),
            static_cast<unsigned>(rest % 60)};
}

const char* signalName(int signal) {
    switch (signal) {
    case SIGSEGV:
        return "SIGSEGV";
    case SIGBUS:
        return "SIGBUS";
    case SIGILL:
        return "SIGILL";
    case SIGFPE:
        return "SIGFPE";
    case SIGABRT:
        return "SIGABRT";
    case SIGTRAP:
        return "SIGTRAP";
    case SIGSYS:
        return "SIGSYS";
    default:
        return "signal";
    }
}

int openCrashLog() {
    const CivilTime t = civilFromSeconds(static_cast<std::int64_t>(::time(nullptr)) + utcOffsetSeconds);
    for (int attempt = 0; attempt < 10; ++attempt) {
        PathText name;
        name.add(folderPrefix);
        name.addSigned(t.year);
        name.add("-");
        name.addUnsigned(t.month, 10, 2);
        name.add("-");
        name.addUnsigned(t.day, 10, 2);
        name.add("-");
        name.addUnsigned(t.hour, 10, 2);
        name.addUnsigned(t.minute, 10, 2);
        name.addUnsigned(t.second, 10, 2);
        if (attempt > 0) {
            name.add("-");
            name.addUnsigned(static_cast<unsigned>(attempt));
        }
        name.add(hostSuffix);
        // A cut path would name some other file, or one the next launch does not recognise.
        if (folderPrefix[0] == '\0' || name.truncated)
            return -1;
        const int fd = ::open(name.text, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

void writeCrashLog(int signal, const siginfo_t* info) {
    const int fd = openCrashLog();
    if (fd < 0)
        return;
    writeAll(fd, header, std::strlen(header));

    const CivilTime t = civilFromSeconds(static_cast<std::int64_t>(::time(nullptr)) + utcOffsetSeconds);
    Line line;
    line.add("Date/Time:        ");
    line.addSigned(t.year);
    line.add("-");
    line.addUnsigned(t.month, 10, 2);
    line.add("-");
    line.addUnsigned(t.day, 10, 2);
    line.add(" ");
    line.addUnsigned(t.hour, 10, 2);
    line.add(":");
    line.addUnsigned(t.minute, 10, 2);
    line.add(":");
    line.addUnsigned(t.second, 10, 2);
    line.add(utcOffsetSeconds < 0 ? " -" : " +");
    const long offset = utcOffsetSeconds < 0 ? -utcOffsetSeconds : utcOffsetSeconds;
    line.addUnsigned(static_cast<std::uint64_t>(offset / 3600), 10, 2);
    line.addUnsigned(static_cast<std::uint64_t>(offset % 3600 / 60), 10, 2);
    line.add("\n");
    writeLine(fd, line);

    char threadName[17] = {};
    ::prctl(PR_GET_NAME, threadName, 0, 0, 0);
    line = Line();
    line.add("Crashed Thread:   ");
    line.addSigned(static_cast<std::int64_t>(::syscall(SYS_gettid)));
    line.add(" ");
    line.add(threadName);
    line.add("\n\nException Type:   ");
    line.add(signalName(signal));
    line.add(" (signal ");
    line.addSigned(signal);
    line.add(")\nException Codes:  si_code ");
    line.addSigned(info ? info->si_code : 0);
    if (info && info->si_code <= 0) {
        // Sent by a process (kill, raise, abort): si_addr then overlaps the sender's pid, not an
        // address anything faulted on.
        line.add("\nFaulting Address: none (signal sent by pid ");
        line.addSigned(info->si_pid);
        line.add(")");
    } else {
        line.add("\nFaulting Address: 0x");
        line.addUnsigned(info ? reinterpret_cast<std::uintptr_t>(info->si_addr) : 0, 16, 16);
    }
    line.add("\n\nBacktrace:\n");
    writeLine(fd, line);

    void* frames[kMaxFrames];
    const int count = ::backtrace(frames, kMaxFrames);
    ::backtrace_symbols_fd(frames, count, fd);
    ::fsync(fd);
    ::close(fd);
}

void onFatalSignal(int signal, siginfo_t* info, void*) {
    const int savedErrno = errno;
    // One log per process, even when several threads fail at once; the others wait for it so
    // that the process does not end half-way through the writing.
    if (!writing.exchange(true)) {
        writeCrashLog(signal, info);
        written = true;
    } else {
        const struct timespec step { 0, 10'000'000 };
        for (int i = 0; i < kWaitForOtherWriterSteps && !written; ++i)
            ::nanosleep(&step, nullptr);
    }
    errno = savedErrno;
    // Let the signal take its default course (core dump, exit status) once the handler returns.
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    ::sigaction(signal, &fallback, nullptr);
    ::raise(signal);
}

// Copies as much as fits; answers whether all of it did.
bool copyInto(char* target, std::size_t capacity, const QByteArray& text) {
    const auto n = std::min(static_cast<std::size_t>(text.size()), capacity - 1);
    std::memcpy(target, text.constData(), n);
    target[n] = '\0';
    return n == static_cast<std::size_t>(text.size());
}

QString value(const char* key) {
    return BundleInfo::value(QString::fromLatin1(key)).value_or(QString());
}

} // namespace

void installCrashLogWriter() {
    const QString folder =
        QDir(LibraryFolders::userLibrary()).filePath(QString::fromLatin1(ZXNCrashReporter::kCrashLogFolder));
    QDir().mkpath(folder);
    QString name = ZXNCrashReporter::applicationNameForMatching();
    if (name.isEmpty())
        name = QStringLiteral("Vup");
    // A folder too long to hold is no folder: better no log than one in the wrong place.
    if (!copyInto(folderPrefix, sizeof folderPrefix, QFile::encodeName(folder + u'/' + name + u'_')))
        folderPrefix[0] = '\0';

    QString host = QHostInfo::localHostName();
    host.replace(u'/', u'_');
    copyInto(hostSuffix, sizeof hostSuffix, (u'_' + host + QStringLiteral(".crash")).toUtf8());

    struct utsname system {};
    ::uname(&system);
    const QString osName =
        OsRelease::value(QString::fromLatin1(OsRelease::kPrettyName)).value_or(QStringLiteral("Linux"));
    const QString text =
        QStringLiteral("Process:          %1 [%2]\nPath:             %3\nIdentifier:       %4\n"
                       "Version:          %5 (%6)\nOS Version:       %7 (%8 %9 %10)\n")
            .arg(name, QString::number(::getpid()), QFile::symLinkTarget(QStringLiteral("/proc/self/exe")),
                 value(BundleInfo::kBundleIdentifier), value(BundleInfo::kShortVersion),
                 value(BundleInfo::kBundleVersion), osName, QString::fromLocal8Bit(system.sysname),
                 QString::fromLocal8Bit(system.release), QString::fromLocal8Bit(system.machine));
    copyInto(header, sizeof header, text.toUtf8());
    utcOffsetSeconds = QDateTime::currentDateTime().offsetFromUtc();

    // backtrace() loads its unwinder on first use; do that now, not inside the handler.
    void* frames[4];
    ::backtrace(frames, 4);

    stack_t stack{};
    stack.ss_sp = alternateStack;
    stack.ss_size = sizeof alternateStack;
    ::sigaltstack(&stack, nullptr);

    struct sigaction action {};
    action.sa_sigaction = onFatalSignal;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (const int signal : kFatalSignals)
        ::sigaction(signal, &action, nullptr);
}
