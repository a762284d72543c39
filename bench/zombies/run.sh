#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vup developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Zombie detection on a 1,000,000-file Masters tree with 1,000,000 referenced paths, next to
# `find | sort` and a comm-style difference of the same sets; then the recovery of 10,000 zombies
# into a real photoapp with and without the time of its journal. Prints figures; asserts nothing
# about them. Run after building: BUILD_DIR (default build) holds bench/zombies/bench_zombies.
# Extra arguments go to the benchmark (e.g. --files 100000 --recovery 1000).
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/common.sh
vup_bench_ready bench/zombies/bench_zombies
/usr/bin/time -f "whole benchmark process: %e s wall, peak RSS %M KB" "$BENCH" "$@"
