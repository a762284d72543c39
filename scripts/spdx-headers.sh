#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vup developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Gives every source file of the tree that lacks one its licence header (SPDX-FileCopyrightText and
# SPDX-License-Identifier, in the file's own comment style), so that `reuse lint` passes. Run it
# again after adding or merging files: files that already carry a header are left as they are.
# Pictures, test data, the Debian package's own files, the Markdown pages and the translations
# (lupdate rewrites them whole) are covered by .reuse/dep5 instead.
# Usage: scripts/spdx-headers.sh [FILE...]   (default: every file git knows or would add)
set -euo pipefail
cd "$(dirname "$0")/.."

# REUSE-IgnoreStart

COPYRIGHT="SPDX-FileCopyrightText: $(date +%Y) The Vup developers"
LICENSE="SPDX-License-Identifier: GPL-3.0-or-later"
# Desktop metadata is under a licence software centres may copy freely.
METADATA_LICENSE="SPDX-License-Identifier: CC0-1.0"

# prepend FILE TEXT [KEEP_FIRST_LINE_PATTERN]: TEXT goes first, or after a first line matching
# the pattern (a #! line, an XML declaration).
prepend() {
    local file=$1 text=$2 keep=${3:-} tmp
    tmp="$(mktemp)"
    if [ -n "$keep" ] && head -n 1 "$file" | grep -qE "$keep"; then
        { head -n 1 "$file"; printf '%s\n' "$text"; tail -n +2 "$file"; } >"$tmp"
    else
        { printf '%s\n' "$text"; cat "$file"; } >"$tmp"
    fi
    # Keep the file's mode (scripts stay executable).
    cat "$tmp" >"$file"
    rm -f "$tmp"
}

header() {
    local file=$1 license=$LICENSE
    case "$file" in
    *.metainfo.xml*) license=$METADATA_LICENSE ;;
    esac
    case "$file" in
    *.cpp | *.h | *.h.in)
        prepend "$file" "$(printf '/*\n    %s\n    %s\n*/\n' "$COPYRIGHT" "$license")" ;;
    *.sh | *.bash | *.cmake | */CMakeLists.txt | CMakeLists.txt | .gitignore | .clang-format | .ci/* | *.desktop.in)
        prepend "$file" "$(printf '# %s\n# %s\n' "$COPYRIGHT" "$license")" '^#!' ;;
    *.ui | *.xml.in | *.qrc)
        prepend "$file" "$(printf '<!--\n    %s\n    %s\n-->' "$COPYRIGHT" "$license")" '^<\?xml' ;;
    *.1)
        prepend "$file" "$(printf '.\\" %s\n.\\" %s' "$COPYRIGHT" "$license")" ;;
    *) return 1 ;;
    esac
}

if (($#)); then
    files=("$@")
else
    mapfile -t files < <(git ls-files --cached --others --exclude-standard)
fi
status=0
for file in "${files[@]}"; do
    [ -f "$file" ] || continue
    case "$file" in
    LICENSES/* | .reuse/* | dist/linux/debian/* | *.md | *.png | *.svg | *.jpg | tests/data/* | translations/*.ts) continue ;;
    esac
    grep -q 'SPDX-License-Identifier:' "$file" && continue
    if header "$file"; then
        echo "spdx-headers: $file"
    else
        echo "spdx-headers: no comment style known for $file; add a header or cover it in .reuse/dep5" >&2
        status=1
    fi
done
# REUSE-IgnoreEnd
exit $status
