#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vup developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The main job: installs what vup and photoapp need and builds only them, generates a demo photo
# library, serves it with the stand-in photo application on a private session bus and shows what is
# in it. scripts/test.sh later reuses the build folder and builds only what the tests add.
# With --darktable the same scan runs on a real darktable instead (installed on this path only).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
if [ "${1:-}" = "--darktable" ]; then
    shift
    scripts/setup.sh --programs --darktable build
    vup_ensure_runtime_dir
    exec dbus-run-session -- scripts/demo-darktable.sh "$@"
fi
scripts/setup.sh --programs build

vup_ensure_runtime_dir
exec dbus-run-session -- scripts/demo-session.sh "$@"
