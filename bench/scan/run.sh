#!/usr/bin/env bash
# Runs the scan benchmark on the build that exists (it builds nothing) and prints its figures.
# Usage: bench/scan/run.sh [PHOTOS]   (default 100000; BUILD_DIR=build)
set -euo pipefail
cd "$(dirname "$0")/../.."
BENCH="${BUILD_DIR:-build}/bench/scan/bench_scan"
if [ ! -x "$BENCH" ]; then
    echo "no $BENCH: build first (scripts/setup.sh or cmake --build build)" >&2
    exit 1
fi
if [ -z "${XDG_RUNTIME_DIR:-}" ] || [ ! -w "${XDG_RUNTIME_DIR}" ]; then
    export XDG_RUNTIME_DIR="$(mktemp -d /tmp/vup-runtime.XXXXXX)"
fi
chmod 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=offscreen
exec "$BENCH" "${1:-100000}"
