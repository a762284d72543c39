/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "crashreporter/CrashLogWriter.h"

class QWidget;
class ZXNCrashReporterWindowController;

// First step of the window's launch: offers a new crash log in the report window, and answers that
// window (nothing when no log was offered). A missing or unusable submission address is logged with
// its name and reason, and the launch goes on.
ZXNCrashReporterWindowController* checkForNewCrashesAtLaunch(QWidget* parentOrNull);
