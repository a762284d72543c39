/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "scan/engine/ProgressReporter.h"

#include <utility>

ProgressReporter::ProgressReporter(Sink s) : sink(std::move(s)) {}

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
    const QList<double> values = std::exchange(pending, {});
    if (sink)
        sink(values);
    sinceFlush.start();
}
