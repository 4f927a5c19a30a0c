#!/usr/bin/env bash
# The search under the lists, then the wholesaler order and history windows,
# on the large installation, offscreen.
#
#   bash bench/run_search_bench.sh          (environment: see bench/common.sh)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
bench_prepare bench_app_search bench_windows_side
QT_QPA_PLATFORM=offscreen "$BUILD/bench/bench_app_search" --data "$SCRATCH" --reps "${REPS:-7}"
echo
QT_QPA_PLATFORM=offscreen "$BUILD/bench/bench_windows_side" --data "$SCRATCH" --reps "${REPS:-7}"
