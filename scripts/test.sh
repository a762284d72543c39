#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vup developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds and runs every test. With --sanitize the build uses address and
# undefined-behaviour sanitizers (in its own build folder).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh

BUILD_DIR=build
EXTRA=()
if [ "${1:-}" = "--sanitize" ]; then
    BUILD_DIR=build-sanitize
    EXTRA=(-DVUP_SANITIZE=ON -DVUP_BUILD_BENCH=OFF)
    export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
fi
scripts/setup.sh "$BUILD_DIR" "${EXTRA[@]}"

# Qt and D-Bus want a private runtime folder; tests start their own session buses.
vup_ensure_runtime_dir
export QT_QPA_PLATFORM=offscreen

cd "$BUILD_DIR"
ctest --output-on-failure -j2 --timeout 600
