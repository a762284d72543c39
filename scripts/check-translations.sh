#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vup developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a .ts file has an entry that is not translated: lrelease counts it as unfinished (a
# plural form left empty counts too), or the file does not compile.
# Usage: scripts/check-translations.sh [FILE.ts...]   (default: every file in translations/; the
# lrelease used is $LRELEASE, else the one on PATH, else Qt 6's)
set -euo pipefail
lrelease="${LRELEASE:-$(command -v lrelease || echo /usr/lib/qt6/bin/lrelease)}"
if (($# == 0)); then
    set -- "$(dirname "$0")"/../translations/*.ts
fi
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
status=0
for ts in "$@"; do
    report="$("$lrelease" "$ts" -qm "$out/$(basename "$ts" .ts).qm" 2>&1)" || {
        echo "$report"
        echo "check-translations: $ts does not compile" >&2
        status=1
        continue
    }
    # "Generated N translation(s) (N finished and M unfinished)"
    unfinished="$(sed -n 's/.* and \([0-9]*\) unfinished.*/\1/p' <<<"$report")"
    untranslated="$(sed -n 's/^Ignored \([0-9]*\) untranslated.*/\1/p' <<<"$report")"
    if [ "${unfinished:-x}" != 0 ] || [ -n "$untranslated" ] || grep -q 'type="unfinished"' "$ts"; then
        echo "$report"
        echo "check-translations: $ts has unfinished entries" >&2
        status=1
    else
        echo "$(basename "$ts"): ${report##*Generated }"
    fi
done
exit "$status"
