/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "tests/support/TestBus.h"

#include <cstdio>

bool TestBus::start() {
    daemon = std::make_unique<ChildProcess>(
        QStringLiteral("dbus-daemon"),
        QStringList{QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
                    QStringLiteral("--print-address=1")});
    if (!daemon->waitFor({}, "\n", 10000)) {
        std::fprintf(stderr, "TestBus: dbus-daemon did not start or printed no address\n");
        return false;
    }
    busAddress = QString::fromUtf8(daemon->out).trimmed();
    qputenv("DBUS_SESSION_BUS_ADDRESS", busAddress.toUtf8());
    return true;
}
