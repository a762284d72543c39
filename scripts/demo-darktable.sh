#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vup developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs inside the darktable demo's private session bus (see demo.sh --darktable): starts a real
# darktable on a virtual screen with a library of its own, fills it through its Lua service with
# generated JPEGs in two film rolls, deletes some of those files, leaves some others unimported,
# runs a whole-library headless scan with zombie recovery on it and shows, through Lua again, which
# images now carry Vup's tags.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh

WORK="${VUP_DEMO_DIR:-$(mktemp -d /tmp/vup-darktable-demo.XXXXXX)}"
PICTURES="$WORK/Pictures"
rm -rf "$WORK/config" "$WORK/cache" "$WORK/library.db"* "$WORK/display"

cleanup() {
    vup_stop_darktable
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
    return 0
}
trap cleanup EXIT

# Xvfb picks a free display and writes its number to the descriptor it is given.
Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x800x24 3>"$WORK/display" 2>/dev/null &
XVFB_PID=$!
for _ in $(seq 100); do
    [ -s "$WORK/display" ] && break
    sleep 0.2
done
[ -s "$WORK/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(cat "$WORK/display")"
vup_start_darktable "$WORK"
imported="$(vup_fill_darktable "$PICTURES")"

echo "== darktable $(vup_darktable_lua "return require('darktable').configuration.version") with the library $WORK/library.db:"
echo "   $imported images in two film rolls under $PICTURES; 3 of their files deleted, 2 files never imported"
echo "== vup scan --app darktable --library --recover-zombies --yes"
status=0
build/app/vup scan --app darktable --library --recover-zombies --yes --report "$WORK/report.json" \
    2>"$WORK/vup.log" || status=$?
echo "== vup exited with status $status; findings in $WORK/report.json, log lines in $WORK/vup.log"

echo "== What darktable now says (through Lua)"
vup_darktable_lua "local dt = require 'darktable'
local out, tagged = {}, 0
for i = 1, #dt.database do
  local im = dt.database[i]
  local tags = {}
  for _, t in ipairs(dt.tags.get_tags(im)) do
    if t.name:sub(1, 4) == 'Vup ' then tags[#tags + 1] = t.name end
  end
  if #tags > 0 then
    tagged = tagged + 1
    local file = im.path:sub(#[[$PICTURES]] + 2) .. '/' .. im.filename
    out[#out + 1] = string.format('  image %-4d %-28s %s', im.id, file, table.concat(tags, ', '))
  end
end
out[#out + 1] = string.format('  %d of %d images carry a Vup tag', tagged, #dt.database)
return table.concat(out, '\n')"
exit "$status"
