#!/usr/bin/env bash
# Runs the keyword-import benchmark on the build that exists (it builds nothing) and prints its
# figures. Usage: bench/photoapp/run.sh [KEYWORDS...]   (default 50000 100000 200000; BUILD_DIR=build)
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/common.sh
BENCH="${BUILD_DIR:-build}/bench/photoapp/bench_photoapp"
if [ ! -x "$BENCH" ]; then
    echo "no $BENCH: build first (scripts/setup.sh or cmake --build build)" >&2
    exit 1
fi
vup_ensure_runtime_dir
exec "$BENCH" "$@"
