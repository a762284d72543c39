/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QObject>
#include <memory>

class QSocketNotifier;

// Logging out sends the window SIGTERM (SIGHUP when the terminal it was started from goes away):
// it then quits the way closing it does, so a running scan is cancelled and a zombie recovery
// puts back what it has not verified before the process ends. A second signal ends it at once.
class SessionEnd : public QObject {
    Q_OBJECT
public:
    explicit SessionEnd(QObject* parent = nullptr);
    ~SessionEnd() override;

private:
    std::unique_ptr<QSocketNotifier> notifier;
};
