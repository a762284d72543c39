#!/usr/bin/env bash
# Prints the trivial-call rate, the properties rate over a generated library and photoapp's peak
# memory. Usage: bench/bridge/run.sh [PHOTOS] [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/../.."
PHOTOS="${1:-100000}"
BUILD="${2:-build}"
WORK="$(mktemp -d /tmp/vup-bench-bridge.XXXXXX)"
trap 'rm -rf "$WORK"' EXIT
LIB="$WORK/Bench.photolibrary"

start=$(date +%s.%N)
"$BUILD/photoapp/photoapp" demo "$LIB" --photos "$PHOTOS" --missing-images 0 --missing-masters 0 --zombies 0 >/dev/null
echo "demo library of $PHOTOS photos generated in $(echo "$(date +%s.%N) - $start" | bc) s"

export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$WORK}"
dbus-run-session -- bash -c '
    "$0/photoapp/photoapp" serve "$1" & pid=$!
    for _ in $(seq 200); do
        gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
            --method org.freedesktop.DBus.NameHasOwner com.apple.iPhoto 2>/dev/null | grep -q true && break
        sleep 0.05
    done
    "$0/bench/bridge/bench_bridge" 20000 ${BENCH_PROPERTY_CALLS:--1}; rc=$?
    echo "photoapp peak memory      $(awk "/VmHWM/ {printf \"%.1f MB\", \$2/1024}" /proc/$pid/status)"
    kill $pid; wait $pid
    exit $rc
' "$BUILD" "$LIB"
