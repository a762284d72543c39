#include "app/Commands.h"

#include <cstdio>

// Placeholder until this face of the program is built.
int runScanCommand(int, char**) {
    std::fputs("vup: not available yet\n", stderr);
    return 1;
}
