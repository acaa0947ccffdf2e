#!/usr/bin/env bash
# The main job: builds the plug-ins and the stand-in host, prepares a sample installation in
# the project's own Wine prefix (build/wineprefix) and plays both games there. With a display
# the games are yours to play; without one, or on CI, a scripted walk-through plays them under
# Xvfb, checks every step, and saves a picture of every dialog in build/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."
export WINEPREFIX=$PWD/build/wineprefix WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
host=build/bin/zorvhost.exe
shots=build/screenshots

if [ -z "${ZORV_DEMO_STAGE:-}" ]; then
  bash scripts/install-deps.sh
  [ -f build/CMakeCache.txt ] || cmake --preset default
  cmake --build --preset default --target zorvhost
  bash tests/support/make-prefix.sh "$WINEPREFIX"
  # A Wine server still running from a command without a display would open no windows.
  wineserver -k 2>/dev/null || true
  if [ -n "${DISPLAY:-}" ] && [ -z "${CI:-}" ]; then
    exec env ZORV_DEMO_STAGE=play bash "$0" "$@"
  fi
  exec env ZORV_DEMO_STAGE=walkthrough xvfb-run -a -s "-screen 0 1024x768x24" bash "$0"
fi

wineserver -p || true
# Wine's own services start now, so that they do not hold on to this script's output.
wine wineboot >/dev/null 2>&1
wine "$host" --setup-sample
status=0

if [ "$ZORV_DEMO_STAGE" = play ]; then
  wine "$host" "$@" || status=$?
  echo
  wine "$host" scores || true
  wineserver -k || true
  exit $status
fi

rm -rf "$shots"
mkdir -p "$shots"
wine "$host" --walkthrough "$(winepath -w "$shots")" || status=$?
echo
echo "The sample installation, which the walk-through leaves as it was:"
wine "$host" scores || true
wineserver -k || true

for picture in "$shots"/*.bmp; do
  [ -e "$picture" ] || continue
  convert "$picture" -strip -define png:exclude-chunks=date,time "${picture%.bmp}.png"
  rm "$picture"
done
if [ $status -eq 0 ]; then
  mkdir -p docs/screenshots
  rm -f docs/screenshots/*.png
  cp "$shots"/*.png docs/screenshots/
  echo "Pictures of every dialog: $shots/ (copied to docs/screenshots/)"
fi
exit $status
