/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "app/SessionEnd.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <sys/eventfd.h>
#include <unistd.h>

namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

int wakeUp = -1;
std::atomic<bool> requested{false};

// Only what is safe in a signal handler: the event loop does the rest.
extern "C" void onSessionEnd(int number) {
    if (requested.exchange(true)) {
        ::signal(number, SIG_DFL);
        ::raise(number);
        return;
    }
    const int saved = errno;
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(wakeUp, &one, sizeof one);
    errno = saved;
}

} // namespace

SessionEnd::SessionEnd(QObject* parent) : QObject(parent) {
    wakeUp = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeUp < 0)
        return;
    notifier = std::make_unique<QSocketNotifier>(wakeUp, QSocketNotifier::Read);
    connect(notifier.get(), &QSocketNotifier::activated, this, [] {
        uint64_t count = 0;
        [[maybe_unused]] const ssize_t n = ::read(wakeUp, &count, sizeof count);
        QCoreApplication::quit();
    });
    struct sigaction action {};
    action.sa_handler = onSessionEnd;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : kSignals)
        ::sigaction(number, &action, nullptr);
}

SessionEnd::~SessionEnd() {
    for (const int number : kSignals)
        ::signal(number, SIG_DFL);
    notifier.reset();
    if (wakeUp >= 0)
        ::close(wakeUp);
    wakeUp = -1;
}
