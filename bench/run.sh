#!/usr/bin/env bash
# Builds the plug-ins and the benchmark, then runs it under Wine on a private X display.
# BUILD_DIR picks the build directory (default: build, as the preset).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
bash scripts/install-deps.sh
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target bench wineprefix -j2
export WINEPREFIX=$PWD/$build/wineprefix WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cd "$build/bin"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  wineserver -p || true
  wine wineboot >/dev/null 2>&1
  status=0
  wine bench.exe || status=$?
  wineserver -k || true
  exit $status'
