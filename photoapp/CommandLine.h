/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "photoapp/ServeCommand.h"

#include <QStringList>

// `photoapp SUBCOMMAND ...`: every face of the program for people, scripts and tests. Answers the
// process exit status: 0 on success, 1 with a message on stderr otherwise.
namespace CommandLine {

// `window` makes the window of `open` and `serve --window`; without it they refuse.
int run(const QStringList& arguments, const ServeCommand::WindowFactory& window = {});

// Whether the arguments ask for a window, which needs a display and a widget application.
bool wantsWindow(const QStringList& arguments);

} // namespace CommandLine
