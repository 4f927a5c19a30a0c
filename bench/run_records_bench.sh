#!/usr/bin/env bash
# The client and article panels on the large installation, offscreen.
#
#   bash bench/run_records_bench.sh         (environment: see bench/common.sh)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
bench_prepare bench_app_record_panels
QT_QPA_PLATFORM=offscreen "$BUILD/bench/bench_app_record_panels" --data "$SCRATCH" --reps "${REPS:-7}"
