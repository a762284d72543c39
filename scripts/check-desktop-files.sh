#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vup developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks what a desktop reads beside the programs with the validators desktops and distributions
# use: the menu entry, the AppStream metadata, the manual pages and the shell completion. Any
# complaint fails, hints included. Usage: scripts/check-desktop-files.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
DIST="${1:-build}/dist/linux"
failed=0

# check WHAT COMMAND...: fails on a non-zero status, and on any output unless QUIET_OK says the
# tool also talks when all is well.
check() {
    local what=$1 output status=0
    shift
    if ! command -v "$1" >/dev/null; then
        echo "FAIL $what: $1 is not installed (scripts/setup.sh installs it)"
        failed=1
        return
    fi
    output=$("$@" 2>&1) || status=$?
    if ((status != 0)) || { [ -z "${QUIET_OK:-}" ] && [ -n "$output" ]; }; then
        echo "FAIL $what"
        printf '%s\n' "$output"
        failed=1
    else
        echo "ok   $what"
    fi
}

check "desktop entry" desktop-file-validate "$DIST/org.vup.Vup.desktop"
# appstreamcli fails on warnings by itself and reports success in words.
QUIET_OK=1 check "AppStream metadata" appstreamcli validate --no-net "$DIST/org.vup.Vup.metainfo.xml"
for page in dist/linux/man/*.1; do
    check "manual page $(basename "$page")" mandoc -T lint -W warning "$page"
done
for completion in dist/linux/completions/*.bash; do
    check "bash completion $(basename "$completion")" bash -n "$completion"
done
exit "$failed"
