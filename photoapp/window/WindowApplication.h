/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

// `photoapp open` and `photoapp serve --window`: the program with a widget application and the
// library's window beside the service. Everything else runs without either, and so without a
// display.
namespace WindowApplication {

// Runs the command line; without a display to show the window on, says so and answers 1 before
// the library is touched.
int run(int& argc, char** argv);

} // namespace WindowApplication
