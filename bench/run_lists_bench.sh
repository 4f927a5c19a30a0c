#!/usr/bin/env bash
# The large installation at the desk's pace: sorts on adversarial orders,
# index upkeep of edits, and the main window driven offscreen over 100 000
# articles, 200 000 invoices and 2 000 clients.
#
#   bash bench/run_lists_bench.sh [reps] [sorts] [edits] [window]
#
# Environment: BUILD_DIR (default build), BENCH_DATA_DIR (default
# $BUILD_DIR/lists-bench-data, generated once and kept).
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${BUILD_DIR:-$ROOT/build}
DATA=${BENCH_DATA_DIR:-$BUILD/lists-bench-data}

cmake -S "$ROOT" -B "$BUILD" > /dev/null
cmake --build "$BUILD" -j2 --target bench_app_lists > /dev/null

if [ ! -f "$DATA/.complete" ]; then
  rm -rf "$DATA"
  echo "generating the large installation (about 30 s)..." >&2
  python3 "$ROOT/scripts/generate_data.py" --out "$DATA" --articles 100000 --factures 200000 --clients 2000 \
    --max-line-files 1000
  touch "$DATA/.complete"
fi

echo "machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
QT_QPA_PLATFORM=offscreen "$BUILD/bench/bench_app_lists" "$DATA" "${@:-5}"
