/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <memory>

// Turns SIGTERM and SIGINT into a Qt signal on the main thread. The handler only writes one byte
// to a pipe (async-signal-safe); the event loop reads it and emits `requested`. It also sets a
// deadline: a process still there a few seconds later leaves at once with status 1.
class ShutdownSignals : public QObject {
    Q_OBJECT
public:
    explicit ShutdownSignals(QObject* parent = nullptr);
    ~ShutdownSignals() override;
    bool isValid() const { return notifier != nullptr; }

signals:
    void requested(int signalNumber);

private:
    std::unique_ptr<QSocketNotifier> notifier;
};
