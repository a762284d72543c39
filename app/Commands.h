/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

// Entry points of the program's faces; main() picks one from the first argument.
int runWindow(int argc, char** argv);             // vup
int runScanCommand(int argc, char** argv);        // vup scan ...
int runCrashReportCommand(int argc, char** argv); // vup crash-report ...
int runDefaultsCommand(int argc, char** argv);    // vup defaults ...
