/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "tests/support/ChildProcess.h"

#include <QString>
#include <memory>

// A private D-Bus session bus for one test executable. Start it before anything touches the
// session bus: it points DBUS_SESSION_BUS_ADDRESS at itself, so children (photoapp) inherit it.
// The daemon dies with the test process even when the test crashes.
class TestBus {
public:
    bool start();
    QString address() const { return busAddress; }
    qint64 pid() const { return daemon ? daemon->pid() : 0; }

private:
    std::unique_ptr<ChildProcess> daemon;
    QString busAddress;
};
