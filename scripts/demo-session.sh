#!/usr/bin/env bash
# Runs inside the demo's private session bus (see demo.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

WORK="${VUP_DEMO_DIR:-$(mktemp -d /tmp/vup-demo.XXXXXX)}"
LIBRARY="$WORK/Demo.photolibrary"
rm -rf "$LIBRARY"
build/photoapp/photoapp demo "$LIBRARY" --photos 40 --missing-images 3 --missing-masters 2 --zombies 2

build/photoapp/photoapp serve "$LIBRARY" &
PHOTOAPP_PID=$!
trap 'kill "$PHOTOAPP_PID" 2>/dev/null; wait "$PHOTOAPP_PID" 2>/dev/null || true' EXIT
for _ in $(seq 100); do
    gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
        --method org.freedesktop.DBus.NameHasOwner com.apple.iPhoto 2>/dev/null | grep -q true && break
    sleep 0.1
done

echo "== Served library $LIBRARY: version $(gdbus call --session --dest com.apple.iPhoto \
    --object-path /application --method com.apple.iPhoto.Application.Version)"
build/photoapp/photoapp dump "$LIBRARY"
