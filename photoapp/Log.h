/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QString>

// photoapp is a program of its own and does not link Vup's core: its messages are plain lines on
// stderr, prefixed with the program name.
namespace PhotoAppLog {

void line(const QString& message);
// A path or name as it is echoed into a line or an error reply: one longer than a reader can take
// in is cut in its middle, so its start and its end (the file's name) stay.
QString shortened(const QString& text);

} // namespace PhotoAppLog
