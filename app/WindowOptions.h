/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

// The index of the first argument (from argv[1] on) that is not what the window takes, or 0 when
// all are. What the window takes: Qt's own options (-platform NAME, -style
// NAME, -reverse ...) and --screenshot FILE. Anything else would otherwise reach Qt, which ignores
// what it does not know, and open the window for a mistyped command.
int firstUnknownWindowArgument(int argc, char** argv);
