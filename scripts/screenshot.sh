#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vup developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes the README's pictures as a user sees them: on a virtual X server with a window manager, so
# that the windows carry their decorations, driving the window by keyboard. The main window next to
# a served demo library, the window with the findings of a preview, the "Success" alert of a library
# scan started with Enter, and the crash report window offered at the next launch.
# Usage: scripts/screenshot.sh [FOLDER]   (default docs; build first)
# Needs xvfb-run, openbox, xdotool, xprop, xwininfo and ImageMagick's import.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
OUT_DIR="$(realpath -m "${1:-docs}")"

vup_virtual_screen 1280x800x24 "$OUT_DIR"

WORK="$(mktemp -d /tmp/vup-shot.XXXXXX)"
PIDS=()
cleanup() {
    for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    # Vup asks before it drops the crash report's typed comments; a second signal ends it.
    sleep 1
    for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$WORK"
}
trap cleanup EXIT

openbox >/dev/null 2>&1 &
PIDS+=($!)

LIBRARY="$WORK/Demo.photolibrary"
build/photoapp/photoapp demo "$LIBRARY" --photos 40 --missing-images 3 --missing-masters 2 --zombies 2 >/dev/null
vup_serve_library "$LIBRARY" || { echo "photoapp did not start" >&2; exit 1; }
PIDS+=("$PHOTOAPP_PID")

# A user who has already dismissed the info sheet for good, with a crash report address.
export XDG_CONFIG_HOME="$WORK/config" XDG_STATE_HOME="$WORK/state" XDG_DATA_HOME="$WORK/data"
vup_skip_info_sheet ZXNCrashReporterCrashSubmissionURL=https://vup.example.org/crashreport
export QT_QPA_PLATFORM=xcb EMAIL=someone@example.org

# Saves a window with the frame the window manager drew around it.
shoot() {
    local id="$1" out="$2" x y w h left right top bottom
    sleep 0.7
    x="$(xwininfo -id "$id" | sed -n 's/.*Absolute upper-left X: *//p')"
    y="$(xwininfo -id "$id" | sed -n 's/.*Absolute upper-left Y: *//p')"
    w="$(xwininfo -id "$id" | sed -n 's/.*Width: *//p')"
    h="$(xwininfo -id "$id" | sed -n 's/.*Height: *//p')"
    read -r left right top bottom < <(xprop -id "$id" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
    import -window root -crop "$((w + left + right))x$((h + top + bottom))+$((x - left))+$((y - top))" +repage "$out"
    echo "saved $out"
}

mkdir -p "$OUT_DIR"
build/app/vup 2>/dev/null &
VUP_PID=$!
PIDS+=("$VUP_PID")
MAIN="$(vup_window_named '^Vup$')"
shoot "$MAIN" "$OUT_DIR/window.png"

# Enter starts the default scan, which ends in its alert: the alert's window, once it is up.
scan_alert() {
    xdotool windowactivate --sync "$MAIN" key Return
    for _ in $(seq 300); do
        [ "$(xdotool search --onlyvisible --name '^Vup$' | wc -l)" -ge 2 ] && break
        sleep 0.1
    done
    xdotool search --onlyvisible --name '^Vup$' | grep -vx "$MAIN" | tail -1
}

# A preview of the whole library with zombie recovery (Alt+Z, Alt+P), then its findings.
# A mnemonic presses its check box a moment later, the way it shows it pressed.
xdotool windowactivate --sync "$MAIN" key alt+z sleep 0.5 key alt+p sleep 0.5
ALERT="$(scan_alert)"
xdotool windowactivate --sync "$ALERT" key Return
shoot "$MAIN" "$OUT_DIR/findings.png"

# The same scan for real.
xdotool windowactivate --sync "$MAIN" key alt+p sleep 0.5
ALERT="$(scan_alert)"
shoot "$ALERT" "$OUT_DIR/alert.png"
xdotool windowactivate --sync "$ALERT" key Return
xdotool windowactivate --sync "$MAIN" key ctrl+q
wait "$VUP_PID" || true

# A crash log that the next launch offers.
LOGS="$XDG_STATE_HOME/Logs/DiagnosticReports"
mkdir -p "$LOGS"
printf 'Process: Vup [4242]\nException Type: SIGSEGV\n' >"$LOGS/Vup_$(date +%Y-%m-%d-%H%M%S)_demo.crash"
build/app/vup 2>/dev/null &
VUP_PID=$!
PIDS+=("$VUP_PID")
REPORT="$(vup_window_named '^Crash Reporter: ')"
xdotool type --delay 20 "The scan stopped after I unplugged the disk holding the library."
shoot "$REPORT" "$OUT_DIR/crash-report.png"
