#!/usr/bin/env bash
# Shows the window on a virtual X server (xvfb-run) next to a served demo library and saves it as a
# PNG. Usage: scripts/screenshot.sh [OUT.png]   (default docs/window.png; build first)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
OUT="$(realpath -m "${1:-docs/window.png}")"

if [ -z "${VUP_SCREENSHOT_SESSION:-}" ]; then
    vup_ensure_runtime_dir
    export VUP_SCREENSHOT_SESSION=1
    exec xvfb-run -a -s "-screen 0 1024x768x24" dbus-run-session -- "$0" "$OUT"
fi

WORK="$(mktemp -d /tmp/vup-shot.XXXXXX)"
LIBRARY="$WORK/Demo.photolibrary"
build/photoapp/photoapp demo "$LIBRARY" --photos 40 --missing-images 3 --missing-masters 2 --zombies 2 >/dev/null
trap '[ -n "${PHOTOAPP_PID:-}" ] && kill "$PHOTOAPP_PID" 2>/dev/null; wait "$PHOTOAPP_PID" 2>/dev/null || true; rm -rf "$WORK"' EXIT
vup_serve_library "$LIBRARY" || { echo "photoapp did not start" >&2; exit 1; }

# A user who has already dismissed the info sheet for good.
export XDG_CONFIG_HOME="$WORK/config"
mkdir -p "$XDG_CONFIG_HOME/vup"
printf '[General]\nskipInfoScreen=YES\n' >"$XDG_CONFIG_HOME/vup/Vup.conf"
QT_QPA_PLATFORM=xcb build/app/vup --screenshot "$OUT" 2>/dev/null
echo "saved $OUT"
