#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vup developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the findings view benchmark on the build that exists (it builds nothing) and prints its
# figures. Usage: bench/findings/run.sh [FINDINGS] [images|masters]   (default 100000 images;
# "masters" leaves every edited image in place, so every row has a picture to decode; BUILD_DIR=build)
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/common.sh
vup_bench_ready bench/findings/bench_findings
export QT_QPA_PLATFORM=offscreen
exec "$BENCH" "${1:-100000}" "${2:-images}"
