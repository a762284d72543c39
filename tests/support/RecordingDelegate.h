/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "scan/VupDelegate.h"

#include <QList>
#include <QMutex>
#include <QString>
#include <QThread>
#include <QVariant>
#include <QWaitCondition>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>

// One delegate operation as the recording delegate saw it.
struct DelegateCall {
    enum class Thread { Window, Main, Scan };
    QString name;
    QVariant value; // the argument: a text or a number
    QString title;  // alerts only
    Thread thread = Thread::Scan;
    std::optional<bool> waited; // window operations, when waits are judged
};

// A delegate for engine tests that records every operation with the thread it ran on. Window
// operations run on a "window thread" of its own, standing in for the window's main thread; with
// judgeWaits on it also tells whether the scan thread waited for each of them.
//
// How the wait is told: the window thread's event dispatcher sees every hand-off posted to it at
// the moment it is posted. A scan thread that waits for a hand-off can do nothing more until it
// has run; one that does not wait goes on posting or calling. So a hand-off was waited for when
// the scan thread stays still while it runs; every operation it carries shares that answer.
class RecordingDelegate final : public VupDelegate {
    Q_OBJECT
public:
    RecordingDelegate();
    ~RecordingDelegate() override;

    void setStatusLabel(const QString& text) override;
    void cfgProgressBarIndeterminate() override;
    void cfgProgressBarDeterminate() override;
    void cfgProgressBarMaxValue(double value) override;
    void cfgProgressBarCurrentValue(double value) override;
    void stopAnimation() override;
    void processingComplete() override;
    void userSelectedFiles(const QString& path) override;
    void setCancellable(bool cancellable) override;
    void cfgInfoText(const QString& text) override;
    void showAlert(const QString& text, const QString& title) override;
    void showModalAlert(const QString& text, const QString& title) override;

    bool autoDelete() const override { return deleteOption.load(); }
    bool selectionMode() const override { return selectionOption.load(); }
    bool recoverZombies() const override { return zombiesOption.load(); }
    bool cancelled() const override;
    void setRecoverZombies(bool value) override;

    // ---- set up by the test ----
    std::atomic<bool> deleteOption{false};
    std::atomic<bool> selectionOption{false};
    std::atomic<bool> zombiesOption{false};
    // `cancelled` answers true from its (cancelAfterReads + 1)-th read on; -1 never. Or at once,
    // once cancelRequested is set (by the test, or by onWindowCall standing in for the user).
    std::atomic<int> cancelAfterReads{-1};
    std::atomic<bool> cancelRequested{false};
    // Runs on the window thread after each window operation is recorded, as a user watching
    // the window would act: it may press Cancel, or kill the application.
    std::function<void(const DelegateCall& call)> onWindowCall;
    std::atomic<bool> judgeWaits{false};
    // Runs inside cfgInfoText on the scan thread; may throw to simulate a failure mid-run.
    std::function<void()> onInfoText;

    // ---- read by the test ----
    QList<DelegateCall> calls() const;
    QList<DelegateCall> callsNamed(const QString& name) const;
    // Window operations only, in the order the window thread ran them.
    QList<DelegateCall> windowCalls() const;
    int count(const QString& name) const { return int(callsNamed(name).size()); }
    QThread* windowThread() const { return thread.get(); }

    // Called by the window thread's dispatcher on the posting thread.
    void notePosted();

protected:
    // One hand-off is one posted event; it may carry several operations.
    bool event(QEvent* e) override;

private:
    void recordDirect(const QString& name, const QVariant& value = {}, const QString& title = {}) const;
    void recordWindow(const QString& name, const QVariant& value = {});
    std::optional<bool> judgeWait(int postIndex);
    DelegateCall::Thread currentThreadKind() const;

    std::unique_ptr<QThread> thread;

    mutable QMutex mutex;
    mutable QWaitCondition changed;
    mutable QList<DelegateCall> log;
    mutable qint64 activity = 0; // scan-thread steps seen: posts and direct calls
    QList<qint64> postStamps;    // activity right after each post
    int delivered = 0;           // hand-offs delivered so far
    int currentHandOff = -1;     // the hand-off being run on the window thread
    std::optional<bool> currentWaited;
    mutable std::atomic<int> cancelReads{0};
};
