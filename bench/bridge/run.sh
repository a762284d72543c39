#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vup developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the request-rate benchmark on the build that exists (it builds nothing) and prints its
# figures. Usage: bench/bridge/run.sh [PHOTOS] [REQUESTS]   (defaults 100000 20000; BUILD_DIR=build)
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/common.sh
vup_bench_ready bench/bridge/bench_bridge
exec "$BENCH" "${1:-100000}" "${2:-20000}"
