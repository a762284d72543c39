/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "photoapp/ShutdownSignals.h"

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

int pipeFds[2] = {-1, -1};
volatile sig_atomic_t deadlineSet = 0;

constexpr unsigned kGraceSeconds = 4;
constexpr char kTooLate[] = "photoapp: could not stop in time; leaving the import in progress unfinished\n";

extern "C" void onSignal(int number) {
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(number);
    [[maybe_unused]] const ssize_t n = ::write(pipeFds[1], &byte, 1);
    // The event loop ends the service in an orderly way, but a thread stuck in a system call (a
    // hung network file system) or a main thread that never gets back to its loop cannot be
    // waited for: the deadline ends the process regardless. Every change to the catalogue is one
    // transaction and every copy appears only whole, so leaving at any moment loses nothing.
    if (!deadlineSet) {
        deadlineSet = 1;
        ::alarm(kGraceSeconds);
    }
    errno = saved;
}

extern "C" void onDeadline(int) {
    [[maybe_unused]] const ssize_t n = ::write(STDERR_FILENO, kTooLate, sizeof kTooLate - 1);
    ::_exit(1);
}

} // namespace

ShutdownSignals::ShutdownSignals(QObject* parent) : QObject(parent) {
    if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
    struct sigaction deadline = {};
    deadline.sa_handler = onDeadline;
    sigemptyset(&deadline.sa_mask);
    ::sigaction(SIGALRM, &deadline, nullptr);
    notifier = std::make_unique<QSocketNotifier>(pipeFds[0], QSocketNotifier::Read);
    connect(notifier.get(), &QSocketNotifier::activated, this, [this] {
        unsigned char byte = 0;
        while (::read(pipeFds[0], &byte, 1) == 1)
            emit requested(byte);
    });
}

ShutdownSignals::~ShutdownSignals() {
    ::signal(SIGTERM, SIG_DFL);
    ::signal(SIGINT, SIG_DFL);
    ::alarm(0);
    ::signal(SIGALRM, SIG_DFL);
    deadlineSet = 0;
    notifier.reset();
    for (int& fd : pipeFds) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}
