/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QElapsedTimer>
#include <QList>

class VupDelegate;

// Hands per-photo progress positions to the window without waiting, in batches: every position
// still reaches cfgProgressBarCurrentValue, in order, but one hand-off carries all the positions
// reached since the previous one. A pass over a large library then costs the scan thread a list
// append per photo instead of an event, and the window's event loop a few events per second
// instead of one per photo.
//
// Flush before any other hand-off from the same thread, so the window sees calls in their order.
class ProgressReporter {
public:
    static constexpr int kIntervalMs = 20;

    explicit ProgressReporter(VupDelegate* delegate);
    ~ProgressReporter();
    ProgressReporter(const ProgressReporter&) = delete;
    ProgressReporter& operator=(const ProgressReporter&) = delete;

    // Queues one position; hands the queue over when the interval has passed (at once the first time).
    void post(double value);
    void flush();

private:
    VupDelegate* delegate;
    QList<double> pending;
    QElapsedTimer sinceFlush;
};
