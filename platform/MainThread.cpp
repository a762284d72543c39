/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "platform/MainThread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

namespace MainThread {

bool isMainThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

void run(QObject* context, std::function<void()> work, Wait wait) {
    if (isMainThread() || !QCoreApplication::instance()) {
        work();
        return;
    }
    QMetaObject::invokeMethod(context, std::move(work),
                              wait == Wait::Yes ? Qt::BlockingQueuedConnection : Qt::QueuedConnection);
}

} // namespace MainThread
