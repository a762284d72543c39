#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vup developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds (release with debug info) and runs every benchmark, printing their figures. Figures are
# only meaningful on an otherwise idle machine. Each bench/NAME/run.sh also runs on its own.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh build
for run in bench/*/run.sh; do
    echo "== ${run%/run.sh}"
    "$run"
done
