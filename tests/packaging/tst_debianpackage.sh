#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vup developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package from a finished build, unpacks it with dpkg -x into a temporary root
# (its path holds a space) and runs the unpacked programs there on a private session bus, away from
# the build tree: the package holds what a desktop needs and nothing of the build, and the programs
# find their data beside themselves. lintian accepts the package, and reuse the source tree.
# Usage: tests/packaging/tst_debianpackage.sh BUILD_DIR VERSION
set -euo pipefail
SOURCE_DIR="$(cd "$(dirname "$0")/../.." && pwd)"
source "$SOURCE_DIR/scripts/common.sh"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# The part that runs inside the private bus: scan a demo library with the unpacked programs.
if [ "${1:-}" = --in-session ]; then
    BIN=$2 WORK=$3
    cd "$WORK"
    export XDG_CONFIG_HOME="$WORK/config" XDG_STATE_HOME="$WORK/state" XDG_CACHE_HOME="$WORK/cache"
    export XDG_DATA_HOME="$WORK/data"
    LIBRARY="$WORK/Demo.photolibrary"
    "$BIN/photoapp" demo "$LIBRARY" --photos 12 --missing-images 2 --missing-masters 1 --zombies 1 >/dev/null
    trap '[ -n "${PHOTOAPP_PID:-}" ] && kill "$PHOTOAPP_PID" 2>/dev/null; wait "$PHOTOAPP_PID" 2>/dev/null || true' EXIT
    vup_serve_library "$LIBRARY" "$BIN/photoapp" || fail "the unpacked photoapp did not start serving"

    "$BIN/photoapp" dump "$LIBRARY" >before.json
    timeout 120 "$BIN/vup" scan --library --dry-run --yes >dry.out 2>dry.log || fail "dry run: $(cat dry.log)"
    "$BIN/photoapp" dump "$LIBRARY" >after.json
    cmp -s before.json after.json || fail "the dry run changed the library: $(diff before.json after.json)"

    # A tagging run must teach the application the keywords from the image installed in share/vup.
    timeout 120 "$BIN/vup" scan --library --yes >scan.out 2>scan.log || fail "scan: $(cat scan.out scan.log)"
    "$BIN/photoapp" dump "$LIBRARY" | python3 -c '
import json, sys
photos = json.load(sys.stdin)["photos"]
image = [p for p in photos if p["imageFilename"] == "iPhoto Keywords.jpg"]
tagged = lambda k: len([p for p in photos if k in p["keywords"] and p not in image])
if len(image) != 1 or tagged("Vup Missing") != 2 or tagged("Vup Master Missing") != 1:
    sys.exit("keyword image imported %d time(s); tagged %d missing, %d master missing"
             % (len(image), tagged("Vup Missing"), tagged("Vup Master Missing")))
' || fail "the scan did not tag as expected"
    exit 0
fi

BUILD_DIR="$(cd "$1" && pwd)"
VERSION=$2
unset VUP_RESOURCE_DIR
WORK="$(mktemp -d "${TMPDIR:-/tmp}/vup package.XXXXXX")"
trap 'rm -rf "$WORK"' EXIT

cpack -G DEB --config "$BUILD_DIR/CPackConfig.cmake" -B "$WORK/out" >"$WORK/cpack.log" 2>&1 ||
    fail "cpack: $(cat "$WORK/cpack.log")"
DEB="$WORK/out/vup_${VERSION}_$(dpkg --print-architecture).deb"
[ -f "$DEB" ] || fail "no $(basename "$DEB"); cpack made: $(ls "$WORK/out")"

field() { dpkg-deb --field "$DEB" "$1"; }
[ "$(field Package)" = vup ] && [ "$(field Version)" = "$VERSION" ] && [ "$(field Section)" = graphics ] ||
    fail "control fields: $(dpkg-deb --field "$DEB")"
[ -n "$(field Maintainer)" ] && [ -n "$(field Description)" ] || fail "no maintainer or description"
# Computed from the binaries, plus the SQLite plug-in that no binary links.
for dependency in libqt6core6 libqt6widgets6 libqt6dbus6 libexiv2 libsqlite3 libicu libqt6sql6-sqlite; do
    field Depends | grep -q "$dependency" || fail "Depends lacks $dependency: $(field Depends)"
done

expected="$WORK/expected" actual="$WORK/actual"
{
    printf './usr/%s\n' bin/photoapp bin/vup share/applications/org.vup.Vup.desktop \
        share/bash-completion/completions/photoapp share/bash-completion/completions/vup \
        share/icons/hicolor/scalable/apps/org.vup.Vup.svg share/man/man1/photoapp.1.gz \
        share/man/man1/vup.1.gz share/metainfo/org.vup.Vup.metainfo.xml "share/vup/iPhoto Keywords.jpg" \
        share/doc/vup/copyright share/doc/vup/changelog.gz
    for size in 16 24 32 48 64 128 256 512; do
        echo "./usr/share/icons/hicolor/${size}x$size/apps/org.vup.Vup.png"
    done
    for ts in "$SOURCE_DIR"/translations/*.ts; do
        echo "./usr/share/vup/translations/$(basename "$ts" .ts).qm"
    done
} | sort >"$expected"
dpkg-deb --fsys-tarfile "$DEB" | tar -t | grep -v '/$' | sort >"$actual"
diff "$expected" "$actual" >"$WORK/contents.diff" || fail "package contents (< missing, > unexpected):
$(cat "$WORK/contents.diff")"

# Debian's own checks: no error and no warning. The informational tags that remain are explained in
# the README's packaging notes.
lintian --fail-on error,warning --display-info "$DEB" >"$WORK/lintian.log" 2>&1 ||
    fail "lintian: $(cat "$WORK/lintian.log")"
# Every source file states its copyright and licence.
reuse --root "$SOURCE_DIR" lint >"$WORK/reuse.log" 2>&1 || fail "reuse lint: $(cat "$WORK/reuse.log")"

ROOT="$WORK/unpacked root"
dpkg -x "$DEB" "$ROOT"
BIN="$ROOT/usr/bin"
version="$("$BIN/vup" --version)"
[ "$(head -n 1 <<<"$version")" = "vup $VERSION" ] && grep -q '^License GPL-3.0-or-later' <<<"$version" ||
    fail "vup --version says: $version"
[ "$("$BIN/photoapp" --version)" = "photoapp $VERSION" ] ||
    fail "photoapp --version says: $("$BIN/photoapp" --version)"

vup_ensure_runtime_dir
dbus-run-session -- "$0" --in-session "$BIN" "$WORK"
echo "ok: $(basename "$DEB") builds, holds what it should, and its programs run unpacked"
