#!/usr/bin/env bash
# Installs what the build needs, builds Quorix, and either starts it on the
# working folder or runs every test.
#
#   bash scripts/quorix.sh run     install, build, prepare ~/Quorix, start Quorix
#   bash scripts/quorix.sh test    install, build, run every test (then again under the sanitizers)
#   bash scripts/quorix.sh start   start Quorix again on the working folder (no build)
#
# run and start also start the sample statistics server beside Quorix, and
# stop it when Quorix ends.
#
# QUORIX_HOME names another working folder (default: ~/Quorix).
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${QUORIX_BUILD_DIR:-$ROOT/build}"
WORK="${QUORIX_HOME:-$HOME/Quorix}"
BINARY="$BUILD/src/app/quorix"

# Debian 12 packages: toolchain and libraries, Qt's French translations for
# its own dialogs, the sqlite3 shell for the benchmark checks, Xvfb for
# screenshots, clang for the fuzzers, and a font so that windows drawn
# without a desktop still show their text.
PACKAGES=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-translations-l10n libpcre2-dev libgtest-dev libgmock-dev
  sqlite3 python3
  xvfb xauth imagemagick fonts-dejavu-core
  clang libclang-rt-14-dev
)

say() { printf '== %s\n' "$*"; }

install_packages() {
  local missing=()
  local p
  for p in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$p")
    fi
  done
  if [ "${#missing[@]}" -eq 0 ]; then
    return 0
  fi
  say "installing: ${missing[*]}"
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then
      sudo=(sudo)
    else
      echo "These Debian packages are missing and this user cannot install them: ${missing[*]}" >&2
      exit 1
    fi
  fi
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
}

ncpu() {
  local n
  n="$(nproc 2>/dev/null || echo 2)"
  echo "$n"
}

build() {
  say "building in $BUILD"
  cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$BUILD" -j"$(ncpu)" "$@"
}

# The working folder gets the sample installation once; running again never
# touches the desk's data. The folders the program writes into are created
# whenever they are missing (git keeps no empty folder).
prepare_work() {
  if [ ! -e "$WORK/Data" ]; then
    say "preparing the working folder $WORK from the sample installation"
    mkdir -p "$WORK"
    cp -R "$ROOT/sample/Data" "$WORK/Data"
    # The sample's server share holds the shared barcode queue; the settings
    # name it as the host's folder, relative to the working folder, in the
    # section that already names the courier station.
    if [ -d "$ROOT/sample/Serveur" ] && [ ! -e "$WORK/Serveur" ]; then
      cp -R "$ROOT/sample/Serveur" "$WORK/Serveur"
      sed -i 's/^\[Partages\]\r$/[Partages]\r\n   ServeurQuorix = .\/Serveur\r/' "$WORK/Data/parametres.ini"
    fi
    # The courier station's share, where each parcel leaves its file.
    mkdir -p "$WORK/StationChronopost/C\$/Chronopost-Tampon"
  fi
  local d
  for d in "Factures" "Devis" "Avoirs" "Poubelle Officielle" "Elements imprimes" "Modeles" "Bitmaps" \
           "Barcodes" "Importation/Todo" "Importation/Done"; do
    mkdir -p "$WORK/Data/$d"
  done
  # The barcode pictures are looked for under "./data/Barcodes/", in lower
  # case; on a case-sensitive file system that name must lead to Data too.
  if [ ! -e "$WORK/data" ] && [ ! -L "$WORK/data" ]; then
    ln -s Data "$WORK/data"
  fi
}

has_display() {
  [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ] || [ -n "${QT_QPA_PLATFORM:-}" ]
}

start() {
  if [ ! -x "$BINARY" ]; then
    echo "Quorix is not built yet: run  bash scripts/quorix.sh run" >&2
    exit 1
  fi
  prepare_work
  if ! has_display; then
    echo "No display available (DISPLAY is not set): start Quorix under Xvfb with  xvfb-run -a -s '-screen 0 1280x800x24' bash $ROOT/scripts/quorix.sh start" >&2
    exit 1
  fi
  say "starting Quorix in $WORK"
  cd "$WORK"
  start_stats_server
  local rc=0
  "$BINARY" || rc=$?
  exit "$rc"
}

# The sample statistics server answers beside Quorix on the address the
# working folder's settings name (only when it is this machine) and ends with
# it: stopped when the script ends, and by the system if the script is killed.
STATS_PID=""
stop_stats_server() {
  if [ -n "$STATS_PID" ]; then
    kill "$STATS_PID" 2>/dev/null || true
    wait "$STATS_PID" 2>/dev/null || true
    STATS_PID=""
  fi
}

start_stats_server() {
  local server="$BUILD/tools/stats_server/quorix_stats_server"
  local data="$ROOT/sample/ServeurStats/ServeurStats.txt"
  if [ ! -x "$server" ] || [ ! -f "$data" ]; then
    return 0
  fi
  trap stop_stats_server EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM
  "$server" --data "$data" --settings "$WORK/Data/parametres.ini" --parent-pid "$$" &
  STATS_PID=$!
}

run_tests() {
  say "running the tests"
  # Every Qt test draws offscreen; no display is needed.
  export QT_QPA_PLATFORM=offscreen
  local rc=0
  # ctest pads every line to the longest test name; the padding is squeezed
  # so the lines stay readable.
  ctest --test-dir "$BUILD" --output-on-failure -j"$(ncpu)" --timeout 600 </dev/null \
    | sed -u -E 's/ \.{4,}/ ../' || rc=$?
  if [ "$rc" -ne 0 ]; then
    echo "TESTS FAILED (ctest exit status $rc)" >&2
  fi
  return "$rc"
}

case "${1:-}" in
  run)
    install_packages
    build --target quorix quorix_stats_server
    start
    ;;
  start)
    start
    ;;
  test)
    install_packages
    build
    rc=0
    run_tests || rc=$?
    # The same suite again, built with AddressSanitizer, UndefinedBehaviorSanitizer
    # and LeakSanitizer, the fuzz targets' saved inputs included.
    say "running the tests again under the sanitizers"
    sh "$ROOT/scripts/test_sanitized.sh" </dev/null || rc=$?
    if [ "$rc" -ne 0 ]; then
      echo "TESTS FAILED" >&2
    fi
    exit "$rc"
    ;;
  build)
    install_packages
    build
    ;;
  *)
    echo "usage: bash scripts/quorix.sh run|test|start|build" >&2
    exit 2
    ;;
esac
