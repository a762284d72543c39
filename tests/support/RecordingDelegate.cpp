/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "tests/support/RecordingDelegate.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <condition_variable>
#include <mutex>

namespace {

// How long the scan thread must stay still during a window operation for it to count as waited.
// Between two steps the scan thread of a small test library does at most a few requests.
constexpr int kStillnessMs = 1500;

// A dispatcher for a thread that only runs posted events: it hears of each post as it happens.
class ObservingDispatcher final : public QAbstractEventDispatcher {
public:
    explicit ObservingDispatcher(RecordingDelegate* d) : delegate(d) {}

    bool processEvents(QEventLoop::ProcessEventsFlags flags) override {
        QCoreApplication::sendPostedEvents();
        if (!(flags & QEventLoop::WaitForMoreEvents))
            return true;
        {
            std::unique_lock lock(mutex);
            wake.wait(lock, [this] { return woken || interrupted; });
            woken = false;
            interrupted = false;
        }
        QCoreApplication::sendPostedEvents();
        return true;
    }
    void wakeUp() override {
        delegate->notePosted();
        std::lock_guard lock(mutex);
        woken = true;
        wake.notify_all();
    }
    void interrupt() override {
        std::lock_guard lock(mutex);
        interrupted = true;
        wake.notify_all();
    }
    void registerSocketNotifier(QSocketNotifier*) override {}
    void unregisterSocketNotifier(QSocketNotifier*) override {}
    void registerTimer(int, qint64, Qt::TimerType, QObject*) override {}
    bool unregisterTimer(int) override { return false; }
    bool unregisterTimers(QObject*) override { return false; }
    QList<TimerInfo> registeredTimers(QObject*) const override { return {}; }
    int remainingTime(int) override { return -1; }

private:
    RecordingDelegate* delegate;
    std::mutex mutex;
    std::condition_variable wake;
    bool woken = false;
    bool interrupted = false;
};

} // namespace

RecordingDelegate::RecordingDelegate() : thread(std::make_unique<QThread>()) {
    thread->setObjectName(QStringLiteral("window"));
    thread->setEventDispatcher(new ObservingDispatcher(this));
    thread->start();
    moveToThread(thread.get());
}

RecordingDelegate::~RecordingDelegate() {
    thread->quit();
    thread->wait();
}

DelegateCall::Thread RecordingDelegate::currentThreadKind() const {
    QThread* current = QThread::currentThread();
    if (current == thread.get())
        return DelegateCall::Thread::Window;
    if (QCoreApplication::instance() && current == QCoreApplication::instance()->thread())
        return DelegateCall::Thread::Main;
    return DelegateCall::Thread::Scan;
}

void RecordingDelegate::notePosted() {
    // Only the scan thread's hand-offs count; the test's own thread and the window thread post
    // for their own reasons.
    if (currentThreadKind() != DelegateCall::Thread::Scan)
        return;
    QMutexLocker lock(&mutex);
    ++activity;
    postStamps.append(activity);
    changed.wakeAll();
}

std::optional<bool> RecordingDelegate::judgeWait(int postIndex) {
    QMutexLocker lock(&mutex);
    QDeadlineTimer posted(5000);
    while (postStamps.size() <= postIndex) {
        if (!changed.wait(&mutex, posted))
            return std::nullopt;
    }
    const qint64 stamp = postStamps.at(postIndex);
    QDeadlineTimer still(kStillnessMs);
    while (activity == stamp) {
        if (!changed.wait(&mutex, still))
            return true;
    }
    return false;
}

void RecordingDelegate::recordDirect(const QString& name, const QVariant& value, const QString& title) const {
    QMutexLocker lock(&mutex);
    DelegateCall call{name, value, title, currentThreadKind(), std::nullopt};
    log.append(call);
    if (call.thread == DelegateCall::Thread::Scan) {
        ++activity;
        changed.wakeAll();
    }
}

bool RecordingDelegate::event(QEvent* e) {
    if (e->type() != QEvent::MetaCall)
        return VupDelegate::event(e);
    currentHandOff = delivered++;
    currentWaited.reset();
    const bool handled = VupDelegate::event(e);
    currentHandOff = -1;
    return handled;
}

void RecordingDelegate::recordWindow(const QString& name, const QVariant& value) {
    const DelegateCall::Thread kind = currentThreadKind();
    std::optional<bool> waited;
    if (kind == DelegateCall::Thread::Window && currentHandOff >= 0 && judgeWaits.load()) {
        if (!currentWaited)
            currentWaited = judgeWait(currentHandOff);
        waited = currentWaited;
    }
    const DelegateCall call{name, value, QString(), kind, waited};
    {
        QMutexLocker lock(&mutex);
        log.append(call);
    }
    if (onWindowCall && kind == DelegateCall::Thread::Window)
        onWindowCall(call);
}

void RecordingDelegate::setStatusLabel(const QString& text) {
    recordWindow(QStringLiteral("setStatusLabel"), text);
}
void RecordingDelegate::cfgProgressBarIndeterminate() {
    recordWindow(QStringLiteral("cfgProgressBarIndeterminate"));
}
void RecordingDelegate::cfgProgressBarDeterminate() {
    recordWindow(QStringLiteral("cfgProgressBarDeterminate"));
}
void RecordingDelegate::cfgProgressBarMaxValue(double v) {
    recordWindow(QStringLiteral("cfgProgressBarMaxValue"), v);
}
void RecordingDelegate::cfgProgressBarCurrentValue(double v) {
    recordWindow(QStringLiteral("cfgProgressBarCurrentValue"), v);
}
void RecordingDelegate::stopAnimation() {
    recordWindow(QStringLiteral("stopAnimation"));
}
void RecordingDelegate::processingComplete() {
    recordWindow(QStringLiteral("processingComplete"));
}
void RecordingDelegate::userSelectedFiles(const QString& path) {
    recordWindow(QStringLiteral("userSelectedFiles"), path);
}
void RecordingDelegate::setCancellable(bool cancellable) {
    recordWindow(QStringLiteral("setCancellable"), cancellable);
}

void RecordingDelegate::cfgInfoText(const QString& text) {
    recordDirect(QStringLiteral("cfgInfoText"), text);
    if (onInfoText)
        onInfoText();
}

void RecordingDelegate::showAlert(const QString& text, const QString& title) {
    recordDirect(QStringLiteral("showAlert"), text, title);
}

void RecordingDelegate::showModalAlert(const QString& text, const QString& title) {
    recordDirect(QStringLiteral("showModalAlert"), text, title);
}

bool RecordingDelegate::cancelled() const {
    const int reads = cancelReads.fetch_add(1);
    recordDirect(QStringLiteral("cancelled"));
    const int after = cancelAfterReads.load();
    return cancelRequested.load() || (after >= 0 && reads >= after);
}

void RecordingDelegate::setRecoverZombies(bool value) {
    zombiesOption.store(value);
    recordDirect(QStringLiteral("setRecoverZombies"), value);
}

QList<DelegateCall> RecordingDelegate::calls() const {
    QMutexLocker lock(&mutex);
    return log;
}

QList<DelegateCall> RecordingDelegate::callsNamed(const QString& name) const {
    QList<DelegateCall> result;
    for (const DelegateCall& c : calls()) {
        if (c.name == name)
            result.append(c);
    }
    return result;
}

QList<DelegateCall> RecordingDelegate::windowCalls() const {
    QList<DelegateCall> result;
    for (const DelegateCall& c : calls()) {
        if (c.thread == DelegateCall::Thread::Window)
            result.append(c);
    }
    return result;
}
