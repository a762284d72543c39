/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "crashreporter/ZXNException.h"

#include <QString>

// The reason of the ZXNException that `call` throws, or a text saying none was thrown, so a test
// compares one value instead of spelling out try, catch and a failure for the silent case.
template <typename Call> QString thrownReason(Call&& call) {
    try {
        call();
    } catch (const ZXNException& e) {
        return e.reason();
    }
    return QStringLiteral("(no exception)");
}
