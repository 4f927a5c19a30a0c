#!/usr/bin/env bash
# Table storage against the sqlite3 command line, on generated data sets of
# 100 000 articles with 200 000 invoice headers, and ten times smaller.
#
#   bash bench/run_storage_bench.sh
#
# Environment: BUILD_DIR (default build-storage-bench), BENCH_DATA_DIR
# (default $BUILD_DIR/bench-data, generated once and kept), REPS (default 5),
# SQLITE (default /usr/bin/sqlite3).
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${BUILD_DIR:-$ROOT/build-storage-bench}
DATA=${BENCH_DATA_DIR:-$BUILD/bench-data}
REPS=${REPS:-5}
SQLITE=${SQLITE:-/usr/bin/sqlite3}

cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DQUORIX_BUILD_TESTS=OFF > /dev/null
cmake --build "$BUILD" -j2 --target bench_storage_tables > /dev/null

# generate NAME ARGS...: one data set, made once per set of arguments.
generate() {
  local name=$1
  shift
  local dir="$DATA/$name"
  if [ ! -f "$dir/.complete" ]; then
    rm -rf "$dir"
    echo "generating $name data set..." >&2
    python3 "$ROOT/scripts/generate_data.py" --out "$dir" "$@" --max-line-files 0 --seed 7
    touch "$dir/.complete"
  fi
}

generate a100000-f200000 --articles 100000 --clients 2000 --factures 200000 --devis 10 --avoirs 10
generate a10000-f20000 --articles 10000 --clients 200 --factures 20000 --devis 10 --avoirs 10

echo "machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg), $($SQLITE --version | cut -d' ' -f1)"
"$BUILD/bench/bench_storage_tables" --data "$DATA/a100000-f200000/Data" --reps "$REPS" --sqlite "$SQLITE" \
  --label "100 000 articles, 200 000 invoice headers"
echo
"$BUILD/bench/bench_storage_tables" --data "$DATA/a10000-f20000/Data" --reps "$REPS" --sqlite "$SQLITE" \
  --label "10 000 articles, 20 000 invoice headers"
