#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vup developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the scan benchmark on the build that exists (it builds nothing) and prints its figures.
# Usage: bench/scan/run.sh [PHOTOS] [LARGE]   (defaults 100000 and 1000000, 0 for none; BUILD_DIR=build)
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/common.sh
vup_bench_ready bench/scan/bench_scan
export QT_QPA_PLATFORM=offscreen
exec "$BENCH" "${1:-100000}" "${2:-1000000}"
