#!/usr/bin/env bash
# Table storage against the sqlite3 command line on the tables of the large
# installation.
#
#   bash bench/run_storage_bench.sh         (environment: see bench/common.sh;
#                                            SQLITE, default /usr/bin/sqlite3)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
bench_prepare bench_storage_tables
echo "$($SQLITE --version | cut -d' ' -f1)"
"$BUILD/bench/bench_storage_tables" --data "$SCRATCH/Data" --reps "${REPS:-5}" --sqlite "$SQLITE"
