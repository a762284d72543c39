#!/usr/bin/env bash
# Runs the window benchmark on the build that exists (it builds nothing) and prints its figures.
# Usage: bench/photoapp-window/run.sh [PHOTOS]   (default 100000; BUILD_DIR=build)
# The window is drawn offscreen unless QT_QPA_PLATFORM says otherwise (xvfb-run with xcb works too).
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/common.sh
BENCH="${BUILD_DIR:-build}/bench/photoapp-window/bench_photoapp_window"
if [ ! -x "$BENCH" ]; then
    echo "no $BENCH: build first (scripts/setup.sh or cmake --build build)" >&2
    exit 1
fi
vup_ensure_runtime_dir
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
exec "$BENCH" "${1:-100000}"
