#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vup developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes the README's pictures of photoapp's window after a scan, alone and next to Vup's window, on
# a virtual X server with a window manager, the way a user follows the demo: a library scanned by
# Vup, its photos searched for the keyword "Vup Missing", some of them selected with the mouse.
# Usage: scripts/screenshot-photoapp.sh [OUT_DIR]   (default docs/; build first)
# Needs xvfb, xauth, openbox, xdotool, x11-utils and imagemagick (apt-get install them).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
OUT="$(realpath -m "${1:-docs}")"

vup_virtual_screen 1340x700x24 "$OUT"
mkdir -p "$OUT"

WORK="$(mktemp -d /tmp/vup-shots.XXXXXX)"
PIDS=()
cleanup() {
    for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT
# A user who has already dismissed Vup's info sheet for good; state of this run only.
export XDG_CONFIG_HOME="$WORK/config" XDG_STATE_HOME="$WORK/state" XDG_DATA_HOME="$WORK/data"
vup_skip_info_sheet


openbox >/dev/null 2>&1 &
PIDS+=($!)
LIBRARY="$WORK/Demo.photolibrary"
build/photoapp/photoapp demo "$LIBRARY" >/dev/null
build/photoapp/photoapp open "$LIBRARY" 2>/dev/null &
PIDS+=($!)
PHOTOS="$(vup_window_named "Demo — photoapp")"
xdotool windowsize --sync "$PHOTOS" 780 620
xdotool windowmove --sync "$PHOTOS" 10 40

# The scan Vup's window would run, from the terminal: tags the missing photos, re-imports the
# zombies into a new album, which the window shows as it happens.
build/app/vup scan --library --recover-zombies --yes >/dev/null 2>&1 || true
xdotool windowactivate --sync "$PHOTOS"
xdotool key ctrl+f
xdotool type --delay 20 "Vup Missing"
sleep 1
import -window root -trim +repage "$OUT/photoapp-window.png"

# Both windows: photos selected with the mouse in photoapp, counted by Vup when it comes forward.
xdotool key ctrl+a BackSpace
sleep 0.5
xdotool mousemove --window "$PHOTOS" 330 150 click 1
xdotool keydown shift mousemove --window "$PHOTOS" 640 320 click 1 keyup shift
build/app/vup 2>/dev/null &
PIDS+=($!)
VUP="$(vup_window_named "^Vup$")"
xdotool windowsize --sync "$VUP" 500 620
xdotool windowmove --sync "$VUP" 805 40
xdotool mousemove --window "$VUP" 200 30 click 1
sleep 1
import -window root -trim +repage "$OUT/photoapp-and-vup.png"
echo "saved $OUT/photoapp-window.png and $OUT/photoapp-and-vup.png"
