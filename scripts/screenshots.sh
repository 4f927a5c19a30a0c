#!/usr/bin/env bash
# Pictures of the windows and PDF files of the printed documents, for a person
# to look at: the screenshot cases of the test programs, which ctest leaves
# out. Builds those programs first (in build/, or QUORIX_BUILD_DIR).
#
#   bash scripts/screenshots.sh [folder]     default /tmp/quorix-shots
#
# They draw offscreen unless QT_QPA_PLATFORM says otherwise (xcb under
# xvfb-run also grabs the whole screen where a case does).
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${QUORIX_BUILD_DIR:-$ROOT/build}"
OUT="${1:-/tmp/quorix-shots}"
mkdir -p "$OUT"
OUT="$(cd "$OUT" && pwd)"

PROGRAMS=(tests/app/app_test_screenshots tests/app/app_test_split_courier tests/app/app_test_stats_and_barcodes
          tests/platform/platform_test_sample_prints)
targets=()
for p in "${PROGRAMS[@]}"; do targets+=(--target "$(basename "$p")"); done
cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" -j2 "${targets[@]}"

export QUORIX_SCREENSHOT_DIR="$OUT"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
rc=0
for p in "${PROGRAMS[@]}"; do
  # Each program runs where ctest runs it, in its build folder.
  (cd "$BUILD/$(dirname "$p")" && "./$(basename "$p")" --gtest_filter='*Screenshot*') || rc=$?
done
echo "== pictures and documents in $OUT"
exit "$rc"
