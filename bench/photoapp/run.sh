#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vup developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the keyword-import benchmark on the build that exists (it builds nothing) and prints its
# figures. Usage: bench/photoapp/run.sh [KEYWORDS...]   (default 50000 100000 200000; BUILD_DIR=build)
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/common.sh
vup_bench_ready bench/photoapp/bench_photoapp
exec "$BENCH" "$@"
