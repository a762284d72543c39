/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "platform/MainThread.h"
#include "scan/engine/VupDelegate.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMutex>
#include <QThread>
#include <QVariant>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>

// One delegate operation as the test saw it.
struct DelegateCall {
    QString name;
    QVariant value; // the argument: a text or a number
    QString title;  // alerts only
    bool onMainThread = false;
    std::optional<bool> waited; // hand-offs from the scan thread: whether it waited for this one
    QString text() const { return value.toString(); }
};

// The delegate of engine tests: it lives on the main thread, as the window does, records every
// operation with the thread it arrived on and whether the scan thread waited for it, and lets the
// test act as the user on window operations, modal alerts and reads of the cancel flag (`onCall`;
// those reads come on the scan thread).
class RecordingDelegate final : public VupDelegate {
public:
    std::atomic<bool> deleteOption{false};
    std::atomic<bool> selectionOption{false};
    std::atomic<bool> zombiesOption{false};
    std::atomic<bool> cancelRequested{false};
    std::atomic<int> cancelAfterReads{-1}; // `cancelled` is true from its (n + 1)-th read on
    std::function<void(const DelegateCall& call)> onCall;
    void on(const QString& name, const std::function<void(const DelegateCall& call)>& act) {
        onCall = [name, act](const DelegateCall& call) {
            if (call.name == name)
                act(call);
        };
    }

    QList<DelegateCall> calls(const QString& name = {}) const {
        QMutexLocker lock(&mutex);
        QList<DelegateCall> out = log;
        out.removeIf([&](const DelegateCall& c) { return !name.isEmpty() && c.name != name; });
        return out;
    }
    qsizetype count(const QString& name) const { return calls(name).size(); }
    // The position of the first call of that name (and value, when given); -1 if none.
    qsizetype indexOf(const QString& name, const QVariant& value = {}) const {
        const QList<DelegateCall> all = calls();
        for (qsizetype i = 0; i < all.size(); ++i)
            if (all[i].name == name && (!value.isValid() || all[i].value == value))
                return i;
        return -1;
    }

    void setStatusLabel(const QString& text) override {
        react(record(QStringLiteral("setStatusLabel"), text));
    }
    void cfgProgressBarIndeterminate() override {
        react(record(QStringLiteral("cfgProgressBarIndeterminate")));
    }
    void cfgProgressBarDeterminate() override { react(record(QStringLiteral("cfgProgressBarDeterminate"))); }
    void cfgProgressBarMaxValue(double v) override {
        react(record(QStringLiteral("cfgProgressBarMaxValue"), v));
    }
    void cfgProgressBarCurrentValue(double v) override {
        react(record(QStringLiteral("cfgProgressBarCurrentValue"), v));
    }
    void stopAnimation() override { react(record(QStringLiteral("stopAnimation"))); }
    void processingComplete() override { react(record(QStringLiteral("processingComplete"))); }
    void askForReadAccess(const QString& path) override {
        react(record(QStringLiteral("askForReadAccess"), path));
    }
    void setCancellable(bool cancellable) override {
        react(record(QStringLiteral("setCancellable"), cancellable));
    }
    void showAlert(const QString& text, const QString& title) override {
        record(QStringLiteral("showAlert"), text, title);
    }
    void showModalAlert(const QString& text, const QString& title) override {
        react(record(QStringLiteral("showModalAlert"), text, title));
    }
    bool autoDelete() const override { return deleteOption; }
    bool selectionMode() const override { return selectionOption; }
    bool recoverZombies() const override { return zombiesOption; }
    bool cancelled() const override {
        const DelegateCall call = record(QStringLiteral("cancelled"));
        if (onCall)
            onCall(call);
        const int after = cancelAfterReads;
        return cancelRequested || (after >= 0 && reads++ >= after);
    }
    void setRecoverZombies(bool value) override {
        zombiesOption = value;
        record(QStringLiteral("setRecoverZombies"), value);
    }

private:
    DelegateCall record(const QString& name, const QVariant& value = {}, const QString& title = {}) const {
        const bool main = MainThread::isMainThread();
        const DelegateCall call{name, value, title, main, main ? MainThread::handOffWaits() : std::nullopt};
        QMutexLocker lock(&mutex);
        log.append(call);
        return call;
    }
    void react(const DelegateCall& call) {
        if (onCall)
            onCall(call);
    }

    mutable QMutex mutex;
    mutable QList<DelegateCall> log;
    mutable std::atomic<int> reads{0};
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
        // A running thread cannot be destroyed; leak it rather than crash the test.
        thread.release();
        return false;
    }
    thread->wait();
    // Hand-offs posted just before the end still reach the delegate.
    QCoreApplication::sendPostedEvents();
    return true;
}
