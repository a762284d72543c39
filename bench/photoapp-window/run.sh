#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vup developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the window benchmark on the build that exists (it builds nothing) and prints its figures.
# Usage: bench/photoapp-window/run.sh [PHOTOS]   (default 100000; BUILD_DIR=build)
# The window is drawn offscreen unless QT_QPA_PLATFORM says otherwise (xvfb-run with xcb works too).
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/common.sh
vup_bench_ready bench/photoapp-window/bench_photoapp_window
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
exec "$BENCH" "${1:-100000}"
