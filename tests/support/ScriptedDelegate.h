/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "platform/MainThread.h"
#include "scan/VupDelegate.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMutex>
#include <QMutexLocker>
#include <QThread>
#include <atomic>
#include <functional>

// A delegate for tests of code that runs on the scan thread: records every call with the
// thread it arrived on, and answers modal alerts and the access prompt as the test scripts.
class ScriptedDelegate : public VupDelegate {
public:
    struct Call {
        QString operation;
        QString text;
        QString title;
        double value = 0;
        bool onMainThread = false;
    };

    std::function<void(const QString& text, const QString& title)> onModalAlert;
    std::function<void(const QString& path)> onPrompt;
    std::function<void(double value)> onProgressValue;

    std::atomic<bool> recoverZombiesValue{true};
    std::atomic<bool> cancelledValue{false};
    std::atomic<bool> autoDeleteValue{false};

    QList<Call> calls() const {
        QMutexLocker lock(&mutex);
        return recorded;
    }
    QList<Call> callsOf(const QString& operation) const {
        QList<Call> out;
        for (const Call& c : calls())
            if (c.operation == operation)
                out.append(c);
        return out;
    }

    void setStatusLabel(const QString& text) override { record(QStringLiteral("setStatusLabel"), text); }
    void cfgProgressBarIndeterminate() override { record(QStringLiteral("cfgProgressBarIndeterminate")); }
    void cfgProgressBarDeterminate() override { record(QStringLiteral("cfgProgressBarDeterminate")); }
    void cfgProgressBarMaxValue(double value) override {
        record(QStringLiteral("cfgProgressBarMaxValue"), {}, {}, value);
    }
    void cfgProgressBarCurrentValue(double value) override {
        record(QStringLiteral("cfgProgressBarCurrentValue"), {}, {}, value);
        if (onProgressValue)
            onProgressValue(value);
    }
    void stopAnimation() override { record(QStringLiteral("stopAnimation")); }
    void processingComplete() override { record(QStringLiteral("processingComplete")); }
    void userSelectedFiles(const QString& path) override {
        record(QStringLiteral("userSelectedFiles"), path);
        if (onPrompt)
            onPrompt(path);
    }
    void showAlert(const QString& text, const QString& title) override {
        record(QStringLiteral("showAlert"), text, title);
    }
    // Like the window's: the alert is up on the main thread while the caller waits.
    void showModalAlert(const QString& text, const QString& title) override {
        record(QStringLiteral("showModalAlert"), text, title);
        MainThread::run(
            this,
            [this, text, title] {
                if (onModalAlert)
                    onModalAlert(text, title);
            },
            MainThread::Wait::Yes);
    }
    bool autoDelete() const override { return autoDeleteValue; }
    bool selectionMode() const override { return false; }
    bool recoverZombies() const override { return recoverZombiesValue; }
    bool cancelled() const override { return cancelledValue; }
    void setRecoverZombies(bool value) override {
        record(QStringLiteral("setRecoverZombies"), {}, {}, value ? 1.0 : 0.0);
        recoverZombiesValue = value;
    }

private:
    void record(const QString& operation, const QString& text = {}, const QString& title = {},
                double value = 0) {
        Call call;
        call.operation = operation;
        call.text = text;
        call.title = title;
        call.value = value;
        call.onMainThread = MainThread::isMainThread();
        QMutexLocker lock(&mutex);
        recorded.append(std::move(call));
    }
    mutable QMutex mutex;
    QList<Call> recorded;
};

// Runs `work` on a thread of its own, as the scan thread would, while the main thread keeps
// serving hand-offs. False when it did not finish in time.
inline bool runOnScanThread(std::function<void()> work, int timeoutMs = 120000) {
    std::unique_ptr<QThread> thread(QThread::create(std::move(work)));
    thread->start();
    QDeadlineTimer deadline(timeoutMs);
    while (!thread->isFinished() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    if (!thread->isFinished()) {
        // The thread cannot be destroyed while it runs; leak it rather than crash the test.
        thread.release();
        return false;
    }
    thread->wait();
    return true;
}
