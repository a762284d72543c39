#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vup developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Brings translations/vup_*.ts and photoapp_*.ts up to date with the sources' texts (lupdate):
# new texts arrive unfinished, texts gone from the sources are dropped. With a language code, starts
# that language's two files first.
# Usage: scripts/update-translations.sh [LANGUAGE]   (e.g. fr, pt_BR)
set -euo pipefail
cd "$(dirname "$0")/.."
LUPDATE="${LUPDATE:-$(command -v lupdate || echo /usr/lib/qt6/bin/lupdate)}"

# Which folders speak for which program. scan/ and bridge/ are vup's too.
VUP_SOURCES=(app scan bridge crashreporter widgets platform resources)
PHOTOAPP_SOURCES=(photoapp)

if [ -n "${1:-}" ]; then
    for catalogue in vup photoapp; do
        ts="translations/${catalogue}_$1.ts"
        [ -e "$ts" ] || printf '<?xml version="1.0" encoding="utf-8"?>\n<!DOCTYPE TS>\n<TS version="2.1" language="%s" sourcelanguage="en">\n</TS>\n' "$1" >"$ts"
    done
fi

# No source locations: the files stay stable while code moves, and merge cleanly.
options=(-I . -locations none -no-obsolete -no-ui-lines -extensions cpp,h,ui -silent)
shopt -s nullglob
for ts in translations/vup_*.ts; do
    "$LUPDATE" "${options[@]}" "${VUP_SOURCES[@]}" -ts "$ts"
done
for ts in translations/photoapp_*.ts; do
    "$LUPDATE" "${options[@]}" "${PHOTOAPP_SOURCES[@]}" -ts "$ts"
done
