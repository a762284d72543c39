/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QString>
#include <optional>

// The user's own e-mail address, from $EMAIL; nothing when it is unset or blank.
std::optional<QString> ownEmailAddress();
