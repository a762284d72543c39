#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vup developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what building, running and testing Vup needs on Debian 12, then configures and builds.
# With --programs, only what building and running vup and photoapp needs, and only those two
# programs (and the keyword image vup imports) are built: the demo's quick path. The same build
# folder later serves the tests without building the programs again. --darktable adds darktable and
# the virtual screen it runs on to a --programs install, for the darktable demo.
# Usage: scripts/setup.sh [--programs [--darktable]] [BUILD_DIR] [extra cmake arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."

PROGRAMS_ONLY=0
WITH_DARKTABLE=0
if [ "${1:-}" = "--programs" ]; then
    PROGRAMS_ONLY=1
    shift
    if [ "${1:-}" = "--darktable" ]; then
        WITH_DARKTABLE=1
        shift
    fi
fi

# Building both programs (rsvg-convert renders the window's icon, lrelease the translations) and
# running the demo (Qt's own translations for its dialogs and buttons).
PACKAGES=(
    cmake ninja-build g++ pkg-config ccache
    qt6-base-dev libqt6sql6-sqlite qt6-l10n-tools qt6-translations-l10n
    libexiv2-dev libsqlite3-dev libicu-dev librsvg2-bin
    dbus dbus-daemon dbus-bin libglib2.0-bin python3
)
# Testing, benchmarks, screenshots, packaging and its checks.
if ((!PROGRAMS_ONLY)); then
    PACKAGES+=(
        git libcpp-httplib-dev libssl-dev dbus-x11
        xvfb xauth fonts-dejavu-core procps bc
        dpkg-dev file desktop-file-utils appstream mandoc lintian reuse darktable
    )
elif ((WITH_DARKTABLE)); then
    PACKAGES+=(darktable xvfb xauth)
fi

missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    echo "setup: installing ${missing[*]}"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

BUILD_DIR="${1:-build}"
shift || true
# Said each time, so that a folder the demo configured gets its tests back, with the programs'
# objects as they are.
if ((PROGRAMS_ONLY)); then
    PARTS=(-DVUP_BUILD_TESTS=OFF -DVUP_BUILD_BENCH=OFF)
    TARGETS=(--target vup photoapp vup_keyword_image)
else
    PARTS=(-DVUP_BUILD_TESTS=ON -DVUP_BUILD_BENCH=ON)
    TARGETS=()
fi
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE="${VUP_BUILD_TYPE:-RelWithDebInfo}" "${PARTS[@]}" "$@" >/dev/null
cmake --build "$BUILD_DIR" -j"$(nproc)" "${TARGETS[@]}"
