#!/usr/bin/env bash
# Shows the window on a virtual X server (xvfb-run) next to a served demo library and saves it as a
# PNG. With --findings, the window first previews the whole library and is taken with its findings.
# Usage: scripts/screenshot.sh [--findings] [OUT.png]
#        (default docs/window.png, with --findings docs/findings.png; build first)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
FINDINGS=""
if [ "${1:-}" = "--findings" ]; then
    FINDINGS=1
    shift
fi
OUT="$(realpath -m "${1:-docs/$([ -n "$FINDINGS" ] && echo findings || echo window).png}")"

if [ -z "${VUP_SCREENSHOT_SESSION:-}" ]; then
    vup_ensure_runtime_dir
    export VUP_SCREENSHOT_SESSION=1
    exec xvfb-run -a -s "-screen 0 1024x768x24" dbus-run-session -- "$0" ${FINDINGS:+--findings} "$OUT"
fi

WORK="$(mktemp -d /tmp/vup-shot.XXXXXX)"
LIBRARY="$WORK/Demo.photolibrary"
build/photoapp/photoapp demo "$LIBRARY" --photos 40 --missing-images 3 --missing-masters 2 --zombies 2 >/dev/null
trap 'for p in ${PHOTOAPP_PID:-} ${WM_PID:-}; do kill "$p" 2>/dev/null; wait "$p" 2>/dev/null; done; rm -rf "$WORK"' EXIT
vup_serve_library "$LIBRARY" || { echo "photoapp did not start" >&2; exit 1; }
# A window manager places and sizes the window as a desktop would, when one is installed.
if command -v openbox >/dev/null; then
    openbox >/dev/null 2>&1 &
    WM_PID=$!
fi

# A user who has already dismissed the info sheet for good, with no earlier run kept.
export XDG_CONFIG_HOME="$WORK/config" XDG_STATE_HOME="$WORK/state"
mkdir -p "$XDG_CONFIG_HOME/vup"
printf '[General]\nskipInfoScreen=YES\n' >"$XDG_CONFIG_HOME/vup/Vup.conf"
[ -n "$FINDINGS" ] && export VUP_SCREENSHOT_PREVIEW=1
QT_QPA_PLATFORM=xcb build/app/vup --screenshot "$OUT" 2>/dev/null
echo "saved $OUT"
