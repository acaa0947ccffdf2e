#!/usr/bin/env bash
# Creates the private Wine prefix the tests and the demo run in: 32-bit, no Mono or Gecko,
# and a virtual desktop so that windows get captions, close boxes and the keyboard focus.
set -euo pipefail
prefix=$1
[ -f "$prefix/.ready" ] && exit 0
export WINEPREFIX=$prefix WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$prefix"
mkdir -p "$(dirname "$prefix")"
wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
wineserver -w
# Wine draws the caption buttons with Marlett, which this Wine does not load from its own data
# folder; from the prefix's font folder it does.
if [ -f /usr/share/wine/fonts/marlett.ttf ]; then
  cp /usr/share/wine/fonts/marlett.ttf "$prefix/drive_c/windows/Fonts/"
fi
touch "$prefix/.ready"
