#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vup developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the darktable benchmark on the build that exists (it builds nothing) and prints its figures.
# Usage: bench/darktable/run.sh [IMAGES]   (default 10000; BUILD_DIR=build)
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/common.sh
vup_bench_ready bench/darktable/bench_darktable
export QT_QPA_PLATFORM=offscreen
exec "$BENCH" "${1:-10000}"
