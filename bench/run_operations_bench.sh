#!/usr/bin/env bash
# The order import and the piece operations on the large installation,
# offscreen.
#
#   bash bench/run_operations_bench.sh      (environment: see bench/common.sh)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
bench_prepare bench_app_order_import
QT_QPA_PLATFORM=offscreen "$BUILD/bench/bench_app_order_import" --data "$SCRATCH" --reps "${REPS:-7}"
