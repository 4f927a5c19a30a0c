#!/bin/sh
# Runs every fuzz target of the readers for a bounded time, one after the
# other, and prints the executions and coverage each reached.
#
#   scripts/fuzz.sh                 every target, 60 seconds each
#   scripts/fuzz.sh 600 table ini   the table and settings targets, 10 minutes each
#   scripts/fuzz.sh build           only build the targets (what the test command does,
#                                   so that this build cannot break unseen)
#
# Environment: FUZZ_BUILD_DIR (default build-fuzz), FUZZ_MAX_LEN (largest
# input tried, default 65536). Inputs found interesting are kept in
# <build>/corpus/<target> (seeded from fuzz/corpus/<target>) so that later runs
# go on from there; a crashing input is written to <build>/artifacts/<target>/
# and the script ends with a failure. Keep such an input under
# tests/data/hostile/<target>/ with a test that reads it.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
[ $# -gt 0 ] && shift
targets=${*:-table ini numbers stats_reply template order_import}
build=${FUZZ_BUILD_DIR:-$root/build-fuzz}
max_len=${FUZZ_MAX_LEN:-65536}

cmake -S "$root/fuzz" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 >/dev/null
[ "$seconds" = build ] && exit 0

status=0
summary=""
for t in $targets; do
  corpus="$build/corpus/$t"
  artifacts="$build/artifacts/$t"
  mkdir -p "$corpus" "$artifacts"
  log="$build/fuzz-$t.log"
  echo "== fuzz_$t for $seconds s (log $log)"
  # One process, low priority: the fuzzer shares the machine with builds.
  if nice -n 10 "$build/fuzz_$t" -max_total_time="$seconds" -max_len="$max_len" -timeout=60 \
       -rss_limit_mb=4096 -print_final_stats=1 -artifact_prefix="$artifacts/" \
       "$corpus" "$root/fuzz/corpus/$t" >"$log" 2>&1; then
    result=ok
  else
    result=FAILED
    status=1
    grep -E "ERROR|property broken|SUMMARY|Test unit written" "$log" | head -20 || true
  fi
  last=$(grep -E "^#[0-9]+" "$log" | tail -1)
  execs=$(grep -E "stat::number_of_executed_units" "$log" | awk '{print $2}')
  cov=$(echo "$last" | sed -n 's/.*cov: \([0-9]*\).*/\1/p')
  ft=$(echo "$last" | sed -n 's/.*ft: \([0-9]*\).*/\1/p')
  units=$(ls "$corpus" | wc -l)
  line="fuzz_$t: $result, ${execs:-?} executions in $seconds s, cov: ${cov:-?} ft: ${ft:-?}, corpus $units inputs"
  echo "$line"
  summary="$summary$line
"
done
echo
printf '%s' "$summary"
exit $status
