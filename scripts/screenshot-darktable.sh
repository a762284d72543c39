#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vup developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes the README's picture of darktable and Vup side by side, on a virtual X server with a window
# manager: the darktable demo's library (see demo.sh --darktable) scanned from Vup's window with
# zombie recovery, its closing alert on the window and the findings behind it.
# Usage: scripts/screenshot-darktable.sh [OUT_DIR]   (default docs/; build first)
# Needs darktable, xvfb, xauth, openbox, xdotool, x11-utils and imagemagick (apt-get install them).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
OUT="$(realpath -m "${1:-docs}")"

vup_virtual_screen 1660x760x24 "$OUT"
mkdir -p "$OUT"

WORK="$(mktemp -d /tmp/vup-shots.XXXXXX)"
PIDS=()
cleanup() {
    vup_stop_darktable
    for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT
# A user who has already dismissed Vup's info sheet for good; state of this run only.
export XDG_CONFIG_HOME="$WORK/xdg-config" XDG_STATE_HOME="$WORK/state" XDG_DATA_HOME="$WORK/data"
vup_skip_info_sheet


openbox >/dev/null 2>&1 &
PIDS+=($!)
vup_start_darktable "$WORK"
vup_fill_darktable "$WORK/Pictures" >/dev/null
DARKTABLE="$(vup_window_named "^darktable" 20)"
xdotool windowsize --sync "$DARKTABLE" 690 740
xdotool windowmove --sync "$DARKTABLE" 0 0

build/app/vup 2>/dev/null &
PIDS+=($!)
VUP="$(vup_window_named "^Vup$")"
xdotool windowsize --sync "$VUP" 960 740
xdotool windowmove --sync "$VUP" 696 0
xdotool windowactivate --sync "$VUP"
sleep 1
# Recover zombie files (Alt+Z), then Enter on the options: a library scan.
xdotool key alt+z
sleep 0.3
xdotool key Return
sleep 6
# Few colours, undithered, keep the picture small; the thumbnails' gradients turn to bands.
import -window root -trim +repage +dither -colors 128 -define png:compression-level=9 "$OUT/darktable-and-vup.png"
echo "saved $OUT/darktable-and-vup.png"
