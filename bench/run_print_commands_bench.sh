#!/usr/bin/env bash
# The print command of an invoice on a large installation (100 000 articles,
# 200 000 invoice headers, 2 000 clients), on the memory printer.
#
#   bash bench/run_print_commands_bench.sh
#
# Environment: BUILD_DIR (default build), BENCH_DATA_DIR (default
# $BUILD_DIR/bench-editor-data, the piece editor benchmark's set, generated once
# and kept), REPS (default 9). Each run works on a scratch copy of the data.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${BUILD_DIR:-$ROOT/build}
DATA=${BENCH_DATA_DIR:-$BUILD/bench-editor-data}
REPS=${REPS:-9}

cmake -S "$ROOT" -B "$BUILD" > /dev/null
cmake --build "$BUILD" -j2 --target bench_printing_commands > /dev/null

if [ ! -f "$DATA/.complete" ]; then
  rm -rf "$DATA"
  echo "generating the data set..." >&2
  python3 "$ROOT/scripts/generate_data.py" --out "$DATA" --articles 100000 --clients 2000 --factures 200000 \
    --devis 2000 --avoirs 500 --max-line-files 1000 --seed 7
  touch "$DATA/.complete"
fi

SCRATCH=$(mktemp -d)
trap 'rm -rf "$SCRATCH"' EXIT
cp -R "$DATA/Data" "$SCRATCH/Data"
echo "machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
"$BUILD/bench/bench_printing_commands" --data "$SCRATCH" --reps "$REPS"
