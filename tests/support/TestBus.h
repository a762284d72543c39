/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QProcess>
#include <QString>
#include <memory>

// A private D-Bus session bus for one test executable. Start it before anything touches the
// session bus: it points DBUS_SESSION_BUS_ADDRESS at itself, so children (photoapp) inherit it.
// The daemon dies with the test process even when the test crashes.
class TestBus {
public:
    TestBus();
    ~TestBus();
    bool start();
    QString address() const { return busAddress; }
    qint64 pid() const { return daemon ? daemon->processId() : 0; }

private:
    std::unique_ptr<QProcess> daemon;
    QString busAddress;
};

// Makes child processes die with their parent, so no orphan keeps a pipe open after a crash.
void setDieWithParent(QProcess& process);
