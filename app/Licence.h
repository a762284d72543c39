/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

// What the program tells of its licence, in `vup --version` and in About.
namespace Licence {

inline constexpr const char* kCopyright = "Copyright 2026 The Vup developers";
inline constexpr const char* kNotice =
    "License GPL-3.0-or-later: GNU GPL version 3 or later <https://www.gnu.org/licenses/gpl.html>.\n"
    "This is free software: you are free to change and redistribute it.\n"
    "There is NO WARRANTY, to the extent permitted by law.";

} // namespace Licence
