/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "scan/ProgressReporter.h"

#include "platform/MainThread.h"
#include "scan/VupDelegate.h"

ProgressReporter::ProgressReporter(VupDelegate* d) : delegate(d) {}

ProgressReporter::~ProgressReporter() {
    flush();
}

void ProgressReporter::post(double value) {
    pending.append(value);
    if (!sinceFlush.isValid() || sinceFlush.elapsed() >= kIntervalMs)
        flush();
}

void ProgressReporter::flush() {
    if (pending.isEmpty())
        return;
    VupDelegate* d = delegate;
    const QList<double> values = std::exchange(pending, {});
    MainThread::run(
        d,
        [d, values] {
            for (const double v : values)
                d->cfgProgressBarCurrentValue(v);
        },
        MainThread::Wait::No);
    sinceFlush.start();
}
