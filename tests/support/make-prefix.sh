#!/usr/bin/env bash
# Creates the private Wine prefix of one build folder, in which its tests, demo and benchmark
# run: no Mono or Gecko, and a virtual desktop so that windows get captions, close boxes and
# the keyboard focus. Takes the build folder's wine-env.sh.
set -euo pipefail
source "$1"
[ -f "$WINEPREFIX/.ready" ] && exit 0
rm -rf "$WINEPREFIX"
mkdir -p "$(dirname "$WINEPREFIX")"
"$WINE" wineboot -i >/dev/null 2>&1
"$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
"$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
wineserver -w
# Wine draws the caption buttons with Marlett, which this Wine does not load from its own data
# folder; from the prefix's font folder it does.
if [ -f /usr/share/wine/fonts/marlett.ttf ]; then
  cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
fi
touch "$WINEPREFIX/.ready"
