/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <functional>
#include <optional>

class QObject;

// The one way work moves to the main thread. `wait` blocks the caller until the main thread has
// run it; on the main thread itself the work runs at once. Hand-offs from one thread keep their
// order because they all go through the same queued connection of `context`.
namespace MainThread {

enum class Wait { No, Yes };

void run(QObject* context, std::function<void()> work, Wait wait);

bool isMainThread();

// On the main thread, while it runs work handed over by run(): whether the thread that handed it
// over sleeps until it is done (a slow handler then stalls the scan). Empty outside such work.
std::optional<bool> handOffWaits();

} // namespace MainThread
