#!/usr/bin/env bash
# Builds both plug-ins and the tests, then runs every test under Wine on a private X display.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset default
cmake --build --preset default
export WINEPREFIX=$PWD/build/wineprefix WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  wineserver -p || true
  ctest --preset default "$@"; status=$?
  wineserver -k || true
  exit $status' test "$@"
