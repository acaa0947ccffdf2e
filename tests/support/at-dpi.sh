#!/usr/bin/env bash
# Runs a program under Wine with the prefix's dpi set as given, which each program reads as it
# starts, and puts the prefix's own setting back afterwards. Takes the dpi, the Wine loader, the
# program and its arguments.
set -uo pipefail
dpi=$1 wine=$2
key='HKCU\Control Panel\Desktop'
old=$("$wine" reg query "$key" /v LogPixels 2>/dev/null | awk '/LogPixels/ { print $3 }')
restore() {
  if [ -n "$old" ]; then
    "$wine" reg add "$key" /v LogPixels /t REG_DWORD /d "$((old))" /f
  else
    "$wine" reg delete "$key" /v LogPixels /f
  fi >/dev/null 2>&1
}
trap restore EXIT
"$wine" reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
"${@:2}"
