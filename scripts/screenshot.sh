#!/usr/bin/env bash
# Shows the window on a virtual X server (xvfb-run) next to a served demo library and saves it as a
# PNG. Usage: scripts/screenshot.sh [OUT.png]   (default docs/window.png; build first)
set -euo pipefail
cd "$(dirname "$0")/.."
OUT="$(realpath -m "${1:-docs/window.png}")"

if [ -z "${VUP_SCREENSHOT_SESSION:-}" ]; then
    if [ -z "${XDG_RUNTIME_DIR:-}" ] || [ ! -w "${XDG_RUNTIME_DIR}" ]; then
        export XDG_RUNTIME_DIR="$(mktemp -d /tmp/vup-runtime.XXXXXX)"
    fi
    chmod 700 "$XDG_RUNTIME_DIR"
    export VUP_SCREENSHOT_SESSION=1
    exec xvfb-run -a -s "-screen 0 1024x768x24" dbus-run-session -- "$0" "$OUT"
fi

WORK="$(mktemp -d /tmp/vup-shot.XXXXXX)"
LIBRARY="$WORK/Demo.photolibrary"
build/photoapp/photoapp demo "$LIBRARY" --photos 40 --missing-images 3 --missing-masters 2 --zombies 2 >/dev/null
build/photoapp/photoapp serve "$LIBRARY" 2>/dev/null &
PHOTOAPP_PID=$!
trap 'kill "$PHOTOAPP_PID" 2>/dev/null; wait "$PHOTOAPP_PID" 2>/dev/null || true; rm -rf "$WORK"' EXIT
for _ in $(seq 100); do
    gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
        --method org.freedesktop.DBus.NameHasOwner com.apple.iPhoto 2>/dev/null | grep -q true && break
    sleep 0.1
done

# A user who has already dismissed the info sheet for good.
export XDG_CONFIG_HOME="$WORK/config"
mkdir -p "$XDG_CONFIG_HOME/vup"
printf '[General]\nskipInfoScreen=YES\n' >"$XDG_CONFIG_HOME/vup/Vup.conf"
QT_QPA_PLATFORM=xcb build/app/vup --screenshot "$OUT" 2>/dev/null
echo "saved $OUT"
