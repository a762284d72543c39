/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QString>
#include <functional>

// The one way Vup logs: one plain line per message, no levels. Lines go to stderr as
// "date Vup[pid:tid] message" and to syslog, or to a sink installed by tests.
namespace SystemLog {

using Sink = std::function<void(const QString& message)>;

void log(const QString& message);

// Replaces stderr and syslog output; an empty sink restores them. Returns the previous sink.
Sink setSink(Sink sink);

// Also keep writing to stderr/syslog while a sink is installed.
void setEchoWhileSinking(bool echo);

} // namespace SystemLog

// Shorthand used throughout the code base.
inline void vupLog(const QString& message) {
    SystemLog::log(message);
}
