#!/usr/bin/env bash
# The print command of an invoice on the large installation, on the memory
# printer.
#
#   bash bench/run_print_commands_bench.sh  (environment: see bench/common.sh)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
bench_prepare bench_printing_commands
"$BUILD/bench/bench_printing_commands" --data "$SCRATCH" --reps "${REPS:-9}"
