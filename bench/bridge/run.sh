#!/usr/bin/env bash
# Prints the trivial-call rate, the properties rate through the bridge over a generated library
# and photoapp's peak memory. Usage: bench/bridge/run.sh [PHOTOS] [REQUESTS] [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/../.."
BUILD="${3:-build}"
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d /tmp/vup-runtime.XXXXXX)}"
exec "$BUILD/bench/bridge/bench_bridge" "${1:-100000}" "${2:-20000}"
