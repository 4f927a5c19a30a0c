#!/usr/bin/env bash
# The large installation at the desk's pace: sorts on adversarial orders,
# index upkeep of edits, and the main window driven offscreen.
#
#   bash bench/run_lists_bench.sh [reps] [sorts] [edits] [window]
#                                           (environment: see bench/common.sh)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
bench_prepare bench_app_lists
QT_QPA_PLATFORM=offscreen "$BUILD/bench/bench_app_lists" "$SCRATCH" "${@:-5}"
