#!/usr/bin/env bash
# Every application and storage benchmark on one large installation, made
# once and shared, ending with one table: each step's median and worst run
# (processor time of the working thread, wall clock beside it) against its
# target, and the comparisons with sqlite3 with their ratios. The machine's
# load is printed before and after: the machine is shared, and the wall
# clock moves with it.
#
#   bash bench/run_all.sh
#
# Environment: see bench/common.sh; REPS (default 7), SQLITE (default
# /usr/bin/sqlite3). The full output of every benchmark goes to
# $BUILD_DIR/bench-all.log. Not a test: nothing here is run by ctest.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
REPS=${REPS:-7}
LOG=$BUILD/bench-all.log

echo "building the benchmarks..." >&2
bench_build bench_storage_tables bench_app_lists bench_app_order_import bench_app_piece_editor \
  bench_app_record_panels bench_app_search bench_windows_side
bench_data
LOAD_BEFORE=$(cut -d' ' -f1-3 /proc/loadavg)
: > "$LOG"

# run NAME COMMAND...: one benchmark on its own scratch copy of the
# installation, its rows tagged with its name.
run() {
  local name=$1
  shift
  local scratch
  scratch=$(mktemp -d)
  cp -R "$DATA/Data" "$scratch/Data"
  echo "running $name..." >&2
  echo "== $name" >> "$LOG"
  (cd "$scratch" && QUORIX_BENCH_ROWS=1 QT_QPA_PLATFORM=offscreen "$@" 2>&1) |
    tee -a "$LOG" | awk -v b="$name" -F'\t' '/^@/ { print $0 "\t" b }' >> "$LOG.rows"
  rm -rf "$scratch"
}

: > "$LOG.rows"
run storage "$BUILD/bench/bench_storage_tables" --data Data --reps "$REPS" --sqlite "$SQLITE"
run lists "$BUILD/bench/bench_app_lists" . "$REPS"
run operations "$BUILD/bench/bench_app_order_import" --data . --reps "$REPS"
run editor "$BUILD/bench/bench_app_piece_editor" --data . --reps "$REPS"
run records "$BUILD/bench/bench_app_record_panels" --data . --reps "$REPS"
run search "$BUILD/bench/bench_app_search" --data . --reps "$REPS"
run windows "$BUILD/bench/bench_windows_side" --data . --reps "$REPS"
LOAD_AFTER=$(cut -d' ' -f1-3 /proc/loadavg)

echo
echo "Quorix benchmarks on 100 000 articles, 200 000 invoices, 2 000 clients; $REPS runs of each step"
echo "machine: $(nproc) cores, load average $LOAD_BEFORE before, $LOAD_AFTER after; $($SQLITE --version | cut -d' ' -f1)"
echo "times: processor time of the working thread (cpu) and wall clock; OVER: median or worst above the target"
echo
awk -F'\t' '
  $1 == "@row" {
    over = ""
    if ($8 != "-") { split($8, t, " "); if ($3 + 0 > t[2] + 0 || $4 + 0 > t[2] + 0) over = "OVER" }
    printf "%-11s %-62s %10s %10s %10s %10s %-3s %-10s %s\n", $9, $2, $3, $4, $5, $6, $7, $8, over
  }' "$LOG.rows" | {
  printf "%-11s %-62s %10s %10s %10s %10s %-3s %-10s\n" bench step "cpu med" "cpu worst" "wall med" "wall worst" "" target
  cat
}
echo
awk -F'\t' '
  $1 == "@ratio" {
    over = ""
    if ($7 != "-") { split($7, t, " "); if ($6 + 0 > t[2] + 0) over = "OVER" }
    printf "%-58s %12s %12s %-3s %8s %-10s %s\n", $2, $3, $4, $5, $6, $7, over
  }' "$LOG.rows" | {
  printf "%-58s %12s %12s %-3s %8s %-10s\n" "against sqlite3 (processor time)" quorix sqlite3 "" ratio target
  cat
}
rm -f "$LOG.rows"
echo
echo "(every figure with its context: $LOG)"
