#!/usr/bin/env bash
# Builds both plug-ins and the tests, then runs every test under Wine on a private X display.
set -euo pipefail
cd "$(dirname "$0")/.."
export WINEPREFIX=$PWD/build/wineprefix WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

if [ -z "${ZORV_ON_DISPLAY:-}" ]; then
  bash scripts/install-deps.sh
  cmake --preset default
  cmake --build --preset default
  exec env ZORV_ON_DISPLAY=1 xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi

wineserver -p || true
# Wine's own services and desktop start now, so that they do not inherit the output of the
# first test and keep ctest waiting for it to close.
wine wineboot >/dev/null 2>&1
status=0
ctest --preset default "$@" || status=$?
wineserver -k || true
exit $status
