/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "platform/MainThread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <utility>

namespace MainThread {

namespace {

// Set around each handed-over piece of work, restored after: work handed over while another waits
// in a nested event loop (a modal alert) answers for itself.
thread_local std::optional<bool> runningHandOffWaits;

std::function<void()> marked(std::function<void()> work, bool waits) {
    return [work = std::move(work), waits] {
        const std::optional<bool> outer = std::exchange(runningHandOffWaits, waits);
        work();
        runningHandOffWaits = outer;
    };
}

} // namespace

std::optional<bool> handOffWaits() {
    return runningHandOffWaits;
}

bool isMainThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

void run(QObject* context, std::function<void()> work, Wait wait) {
    if (isMainThread() || !QCoreApplication::instance()) {
        work();
        return;
    }
    const bool waits = wait == Wait::Yes;
    QMetaObject::invokeMethod(context, marked(std::move(work), waits),
                              waits ? Qt::BlockingQueuedConnection : Qt::QueuedConnection);
}

} // namespace MainThread
