#!/usr/bin/env bash
# Zombie detection on a 1,000,000-file Masters tree with 1,000,000 referenced paths, next to
# `find | sort` and a comm-style difference of the same sets; then the recovery of 10,000 zombies
# into a real photoapp with and without the time of its journal. Prints figures; asserts nothing
# about them. Run after building: BUILD_DIR (default build) holds bench/zombies/bench_zombies.
# Extra arguments go to the benchmark (e.g. --files 100000 --recovery 1000).
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/common.sh
BUILD_DIR="${BUILD_DIR:-build}"
BIN="$BUILD_DIR/bench/zombies/bench_zombies"
if [ ! -x "$BIN" ]; then
    echo "run.sh: $BIN not built (cmake --build $BUILD_DIR --target bench_zombies)" >&2
    exit 1
fi
vup_ensure_runtime_dir
/usr/bin/time -f "whole benchmark process: %e s wall, peak RSS %M KB" "$BIN" "$@"
