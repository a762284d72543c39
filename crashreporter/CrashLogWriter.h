/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

// Linux writes no per-application crash logs, so Vup writes its own: on a fatal signal a handler
// writes "<CFBundleName>_<yyyy-MM-dd-HHmmss>_<host>.crash" into the user's crash log folder
// (signal, faulting address, thread, backtrace, version, system), which the next launch offers.
// Everything the handler needs is prepared here; the handler itself neither allocates nor locks.
// Call first thing in main, for every face of the program. Calling again re-prepares.
void installCrashLogWriter();
