#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vup developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Lists the folder -> folder arrows of the tree's #include "folder/..." lines and fails on any arrow
# a folder is not allowed: dependencies point down only. The layers, top to bottom:
#
#   bench/                                 may use the tests' support code
#   tests/                                 tests/support/ below the test areas
#   app/                                   the window and the terminal commands
#   scan/engine/  crashreporter/           the run; the crash reporter (its window uses widgets/)
#   scan/report/                           what is told of a run: findings, CSV, JSON, last run
#   scan/zombies/                          zombie detection and recovery
#   bridge/       widgets/                 the photo application's D-Bus client; widget helpers
#   platform/     wire/                    OS services; the bus contract shared with photoapp
#   l10n/                                  loading the translations (both programs)
#
# photoapp/ is a program of its own beside Vup: it sees wire/ and l10n/ and nothing else of Vup.
#
# Usage: scripts/check-layers.sh [--quiet]   (exit status 1 when an arrow runs the wrong way)
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A MAY_INCLUDE=(
    [l10n]=""
    [wire]=""
    [platform]=""
    [bridge]="wire platform"
    [widgets]="platform"
    [scan/engine]="scan/report scan/zombies bridge wire platform l10n"
    [scan/report]="scan/zombies bridge wire platform l10n"
    [scan/zombies]="bridge wire platform l10n"
    [crashreporter]="widgets platform"
    [app]="scan/engine scan/report scan/zombies crashreporter bridge widgets wire platform l10n"
    [photoapp]="wire l10n"
    [tests/support]="app scan/engine scan/report scan/zombies crashreporter bridge widgets wire platform photoapp l10n"
    [tests]="tests/support app scan/engine scan/report scan/zombies crashreporter bridge widgets wire platform photoapp l10n"
    [bench]="tests tests/support app scan/engine scan/report scan/zombies crashreporter bridge widgets wire platform photoapp l10n"
)

# The layer a path belongs to: its first folder, except that the tests' shared support code is a
# layer of its own below the test areas, and each of the scan's three rooms is a layer of its own.
layer_of() {
    case "$1" in
    tests/support/*) echo "tests/support" ;;
    scan/*/*) echo "${1%/*}" ;;
    */*) echo "${1%%/*}" ;;
    *) echo "" ;;
    esac
}

quiet=false
[ "${1:-}" = "--quiet" ] && quiet=true

declare -A COUNT=()
status=0
while IFS= read -r -d '' file; do
    from=$(layer_of "$file")
    [ -n "$from" ] || continue
    if [ -z "${MAY_INCLUDE[$from]+set}" ]; then
        echo "check-layers: $file: folder '$from' has no place in the layers; add it to $0" >&2
        status=1
        continue
    fi
    while IFS=: read -r line target; do
        to=$(layer_of "$target")
        [ -n "$to" ] && [ "$to" != "$from" ] || continue
        COUNT["$from -> $to"]=$((${COUNT["$from -> $to"]:-0} + 1))
        if [[ " ${MAY_INCLUDE[$from]} " != *" $to "* ]]; then
            echo "check-layers: $file:$line includes \"$target\": $from may not include $to" >&2
            status=1
        fi
    done < <(grep -n -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" |
        sed -E 's/^([0-9]+):[^"]*"([^"]*)".*/\1:\2/')
done < <(find . \( -path './.*' -o -path './build*' \) -prune -o \
    -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.h.in' \) -printf '%P\0' | sort -z)

if ! $quiet; then
    for arrow in "${!COUNT[@]}"; do
        printf '%-32s %4d\n' "$arrow" "${COUNT[$arrow]}"
    done | sort
fi
if [ "$status" -ne 0 ]; then
    echo "check-layers: the layering is broken (see above)" >&2
fi
exit "$status"
