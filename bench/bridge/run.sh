#!/usr/bin/env bash
# Runs the request-rate benchmark on the build that exists (it builds nothing) and prints its
# figures. Usage: bench/bridge/run.sh [PHOTOS] [REQUESTS]   (defaults 100000 20000; BUILD_DIR=build)
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/common.sh
BENCH="${BUILD_DIR:-build}/bench/bridge/bench_bridge"
if [ ! -x "$BENCH" ]; then
    echo "no $BENCH: build first (scripts/setup.sh or cmake --build build)" >&2
    exit 1
fi
vup_ensure_runtime_dir
exec "$BENCH" "${1:-100000}" "${2:-20000}"
