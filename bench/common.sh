# The preamble every benchmark script shares; sourced, not run.
#
# Environment: BUILD_DIR (default build, the usual build), BENCH_DATA_DIR
# (default $BUILD_DIR/bench-installation: the large installation, generated
# once and kept, shared by every benchmark), REPS (runs of each step).

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${BUILD_DIR:-$ROOT/build}
DATA=${BENCH_DATA_DIR:-$BUILD/bench-installation}
SQLITE=${SQLITE:-/usr/bin/sqlite3}

# bench_build TARGET...: the build configured if needed, the targets built.
bench_build() {
  [ -f "$BUILD/CMakeCache.txt" ] || cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
  cmake --build "$BUILD" -j2 --target "$@" > /dev/null
}

# bench_data: the large installation of the desk the targets speak of,
# 100 000 articles, 200 000 invoices, 2 000 clients, made once.
bench_data() {
  if [ ! -f "$DATA/.complete" ]; then
    rm -rf "$DATA"
    echo "generating the large installation (about 20 s)..." >&2
    python3 "$ROOT/scripts/generate_data.py" --out "$DATA" --articles 100000 --clients 2000 --factures 200000 \
      --devis 2000 --avoirs 500 --max-line-files 1000 --seed 7
    touch "$DATA/.complete"
  fi
}

# bench_scratch: a scratch copy of the installation (the benchmarks write
# into it), removed when the script ends; its folder goes to SCRATCH.
bench_scratch() {
  SCRATCH=$(mktemp -d)
  trap 'rm -rf "$SCRATCH"' EXIT
  cp -R "$DATA/Data" "$SCRATCH/Data"
}

bench_machine() {
  echo "machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
}

# bench_prepare TARGET...: what every single benchmark script does first:
# the targets built, the installation made, a scratch copy, the machine line.
bench_prepare() {
  bench_build "$@"
  bench_data
  bench_scratch
  bench_machine
}
