#pragma once

#include "crashreporter/CrashLogWriter.h"

class QWidget;

// First step of the window's launch: offers a new crash log in the report window. A missing or
// unusable submission address is logged with its name and reason, and the launch goes on.
void checkForNewCrashesAtLaunch(QWidget* parentOrNull);
