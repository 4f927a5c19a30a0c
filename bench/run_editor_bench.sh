#!/usr/bin/env bash
# The piece editor on the large installation, offscreen.
#
#   bash bench/run_editor_bench.sh          (environment: see bench/common.sh)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
bench_prepare bench_app_piece_editor
QT_QPA_PLATFORM=offscreen "$BUILD/bench/bench_app_piece_editor" --data "$SCRATCH" --reps "${REPS:-7}"
