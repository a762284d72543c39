#include "app/CrashHooks.h"

// Nothing to do until the crash reporter is wired in.

void installCrashLogWriter() {}

void checkForNewCrashes(QWidget* window) {
    (void)window;
}
