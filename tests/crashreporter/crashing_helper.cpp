/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
// Installs the crash log writer and then fails the way a real bug would, so that a test can look
// for the log it leaves. Usage: crashing_helper segv|abort
#include "crashreporter/CrashLogWriter.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    installCrashLogWriter();
    if (argc > 1 && std::strcmp(argv[1], "abort") == 0)
        std::abort();
    // A store to an unmapped page near zero: the classic dangling-pointer crash.
    // The address comes through a volatile so the optimiser cannot see (and warn about) it.
    volatile std::uintptr_t address = 16;
    volatile int* bad = reinterpret_cast<volatile int*>(address);
    *bad = 1;
    return 0;
}
