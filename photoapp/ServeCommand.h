/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "photoapp/Catalogue.h"

#include <QObject>
#include <functional>
#include <memory>

// `photoapp serve`: owns the bus name and answers requests until SIGTERM or SIGINT (exit 0), or
// until the bus goes away (exit 1).
namespace ServeCommand {

// Makes the window shown beside the service (nothing, with the reason, when it cannot); given the
// library and whether an import is under way. The window lives outside this program's core, which
// links no widgets, so that `serve` without a window needs no display. The window ends the service
// by ending the event loop.
using WindowFactory = std::function<std::unique_ptr<QObject>(
    const LibraryPackage& library, std::function<bool()> importing, QString* error)>;

int run(std::unique_ptr<Catalogue> catalogue, const QString& version, const WindowFactory& window = {});

} // namespace ServeCommand
