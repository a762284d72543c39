/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QString>

// Moves a crash log to the Trash, logging why when it cannot. Answers whether it was moved.
bool discardCrashLog(const QString& crashLogPath);
