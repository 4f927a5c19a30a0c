#!/bin/sh
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer
# (LeakSanitizer on) in build-asan and runs the whole test suite there, the
# fuzz targets' replay of their seed and hostile inputs included. Ends with a
# failure on any failing test, any memory error, any leak of our code and any
# undefined behaviour.
#
#   scripts/test_sanitized.sh            configure, build, run every test
#   scripts/test_sanitized.sh -R Ini     only the tests matching a pattern (ctest -R)
#
# Environment: QUORIX_ASAN_BUILD_DIR (default build-asan).
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUORIX_ASAN_BUILD_DIR:-$root/build-asan}
mkdir -p "$build"

# Leaks reported at exit by the libraries below us are theirs, not ours:
# fontconfig keeps its caches to the end of the process (the only one seen
# here); freetype, dbus and glib do the same on desktops that load them. Only
# whole third-party libraries are listed; never add one of our routines, and
# never a Qt entry point that our code calls.
supp="$build/lsan.supp"
cat >"$supp" <<'SUPP'
leak:libfontconfig.so
leak:libfreetype.so
leak:libdbus-1.so
leak:libglib-2.0.so
SUPP

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1"
export LSAN_OPTIONS="suppressions=$supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

# The test discovery runs the test programs during the build, so the options
# above are already in force there.
cmake -S "$root" -B "$build" -DQUORIX_SANITIZE=ON -DQUORIX_BUILD_BENCH=OFF -DQUORIX_FUZZ=ON
cmake --build "$build" -j2
cd "$build"
ctest --output-on-failure -j2 "$@"
