/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "app/WindowOptions.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

constexpr std::string_view kWithValue[] = {"platform",        "platformpluginpath",
                                           "platformtheme",   "plugin",
                                           "qwindowgeometry", "qwindowicon",
                                           "qwindowtitle",    "display",
                                           "geometry",        "name",
                                           "title",           "style",
                                           "stylesheet",      "session",
                                           "screenshot"};
constexpr std::string_view kAlone[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

bool isOneOf(std::string_view name, const auto& names) {
    return std::find(std::begin(names), std::end(names), name) != std::end(names);
}

} // namespace

int firstUnknownWindowArgument(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        // Qt takes its options with one dash or two.
        if (arg.starts_with("--"))
            arg.remove_prefix(2);
        else if (arg.starts_with('-'))
            arg.remove_prefix(1);
        else
            return i;
        if (arg.starts_with("qmljsdebugger="))
            continue;
        const auto equals = arg.find('=');
        const std::string_view name = arg.substr(0, equals);
        if (isOneOf(name, kWithValue)) {
            if (equals == std::string_view::npos && i + 1 == argc)
                return i;
            if (equals == std::string_view::npos)
                ++i;
        } else if (!isOneOf(name, kAlone) || equals != std::string_view::npos) {
            return i;
        }
    }
    return 0;
}
