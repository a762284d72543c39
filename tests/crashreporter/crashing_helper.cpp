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
    volatile int* bad = reinterpret_cast<volatile int*>(static_cast<std::uintptr_t>(16));
    *bad = 1;
    return 0;
}
