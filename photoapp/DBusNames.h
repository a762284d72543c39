/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QString>

namespace DBusNames {

// True for a well-formed D-Bus error name ("a.b", elements of letters, digits and '_' that do not
// begin with a digit). A reply with any other name could not be sent at all.
bool isValidErrorName(const QString& name);

} // namespace DBusNames
