/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "tests/support/TestBus.h"

#include <csignal>
#include <cstdio>
#include <sys/prctl.h>

void setDieWithParent(QProcess& process) {
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
}

TestBus::TestBus() = default;

TestBus::~TestBus() {
    if (daemon && daemon->state() != QProcess::NotRunning) {
        daemon->terminate();
        if (!daemon->waitForFinished(3000))
            daemon->kill();
        daemon->waitForFinished(3000);
    }
}

bool TestBus::start() {
    daemon = std::make_unique<QProcess>();
    setDieWithParent(*daemon);
    daemon->setProcessChannelMode(QProcess::SeparateChannels);
    daemon->start(QStringLiteral("dbus-daemon"),
                  {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
                   QStringLiteral("--print-address=1")});
    if (!daemon->waitForStarted(10000)) {
        std::fprintf(stderr, "TestBus: cannot start dbus-daemon\n");
        return false;
    }
    while (!daemon->canReadLine()) {
        if (!daemon->waitForReadyRead(10000)) {
            std::fprintf(stderr, "TestBus: dbus-daemon printed no address\n");
            return false;
        }
    }
    busAddress = QString::fromUtf8(daemon->readLine()).trimmed();
    qputenv("DBUS_SESSION_BUS_ADDRESS", busAddress.toUtf8());
    return true;
}
