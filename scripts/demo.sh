#!/usr/bin/env bash
# The main job: builds Vup, generates a demo photo library, serves it with the stand-in photo
# application on a private session bus and shows what is in it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh build

if [ -z "${XDG_RUNTIME_DIR:-}" ] || [ ! -w "${XDG_RUNTIME_DIR}" ]; then
    export XDG_RUNTIME_DIR="$(mktemp -d /tmp/vup-runtime.XXXXXX)"
fi
chmod 700 "$XDG_RUNTIME_DIR"
exec dbus-run-session -- scripts/demo-session.sh "$@"
