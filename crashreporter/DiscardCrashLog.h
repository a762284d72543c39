/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include "crashreporter/OfferedCrashLog.h"

// Moves the offered crash log to the Trash, logging why when it cannot: also when its path no
// longer names the file that was offered, so that a file swapped in since is left alone. Answers
// whether it was moved.
bool discardCrashLog(const OfferedCrashLog& crashLog);
