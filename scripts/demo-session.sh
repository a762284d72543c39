#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vup developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs inside the demo's private session bus (see demo.sh): generates a demo library, serves it
# with the stand-in photo application, runs a whole-library headless scan on it and shows what
# the scan did to the library.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh

WORK="${VUP_DEMO_DIR:-$(mktemp -d /tmp/vup-demo.XXXXXX)}"
LIBRARY="$WORK/Demo.photolibrary"
rm -rf "$LIBRARY"
build/photoapp/photoapp demo "$LIBRARY" --photos 40 --missing-images 3 --missing-masters 2 --zombies 2 >/dev/null

trap '[ -n "${PHOTOAPP_PID:-}" ] && kill "$PHOTOAPP_PID" 2>/dev/null; wait "$PHOTOAPP_PID" 2>/dev/null || true' EXIT
vup_serve_library "$LIBRARY" || { echo "photoapp did not start" >&2; exit 1; }

echo "== Demo library $LIBRARY (40 photos: 3 with their image gone, 2 with their master gone; 2 zombie files)"
echo "== vup scan --library --recover-zombies --yes"
status=0
build/app/vup scan --library --recover-zombies --yes --report "$WORK/report.json" 2>"$WORK/vup.log" || status=$?
echo "== vup exited with status $status; findings in $WORK/report.json, log lines in $WORK/vup.log"

echo "== What the library now says (photoapp dump)"
build/photoapp/photoapp dump "$LIBRARY" | python3 -c '
import json, sys
d = json.load(sys.stdin)
tagged = [p for p in d["photos"] if p["keywords"]]
for p in tagged:
    note = "  (imported by Vup to teach the keywords)" if p["imageFilename"] == "iPhoto Keywords.jpg" else ""
    print("  photo %-4d %-40s %s%s" % (p["id"], p["imageFilename"], ", ".join(p["keywords"]), note))
print("  %d of %d photos carry an issue keyword" % (len(tagged), len(d["photos"])))
for a in d["albums"]:
    if a["name"].startswith("Vup Zombies"):
        print("  album \"%s\" holds %d recovered zombie(s)" % (a["name"], len(a["photos"])))
'
exit "$status"
