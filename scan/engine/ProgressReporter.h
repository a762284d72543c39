/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QElapsedTimer>
#include <QList>
#include <functional>

// Hands per-photo progress positions on to the window, in batches: every position still
// reaches it, in order, but one batch carries all the positions reached since the previous one.
// A pass over a large library then costs the scan thread a list append per photo instead of an
// event, and the window's event loop a few events per second instead of one per photo.
//
// Flush before anything else is told from the same thread, so the window sees calls in their order.
class ProgressReporter {
public:
    static constexpr int kIntervalMs = 20;
    // Takes a batch on to the window without waiting for it to be shown; may be empty.
    using Sink = std::function<void(const QList<double>& positions)>;

    explicit ProgressReporter(Sink sink);
    ~ProgressReporter();
    ProgressReporter(const ProgressReporter&) = delete;
    ProgressReporter& operator=(const ProgressReporter&) = delete;

    // Queues one position; hands the queue over when the interval has passed (at once the first time).
    void post(double value);
    void flush();

private:
    Sink sink;
    QList<double> pending;
    QElapsedTimer sinceFlush;
};
