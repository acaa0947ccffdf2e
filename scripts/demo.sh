#!/usr/bin/env bash
# The main job: builds the plug-ins and the stand-in host, prepares a sample installation in
# the build's own Wine prefix and plays both games there. With a display the games are yours
# to play; without one, or on CI, the walk-through (a test program beside the host) plays
# them under Xvfb, checks every step, and saves a picture of every dialog in build/screenshots/
# (--update-pictures copies them to docs/screenshots/ as well). It plays the i686 build where
# this machine can run 32-bit programs, and the x86_64 build otherwise. --dpi=144 plays at that
# dpi (the prefix's own is put back after), its pictures in build/screenshots-144dpi/ and, with
# --update-pictures, docs/screenshots/144dpi/.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/targets.sh
dpi=96
update=""
rest=()  # for the host, when it is yours to play
for arg in "$@"; do
  case $arg in
    --dpi=*) dpi=${arg#--dpi=} ;;
    --update-pictures) update=1 ;;
    *) rest+=("$arg") ;;
  esac
done
shots=build/screenshots
docs=docs/screenshots
if [ "$dpi" != 96 ]; then
  shots=build/screenshots-${dpi}dpi
  docs=docs/screenshots/${dpi}dpi
fi

if [ -z "${ZORV_DEMO_STAGE:-}" ]; then
  set_up
  target=${run_targets##* }  # i686 when it runs here
  dir=$(target_dir "$target")
  [ -f "$dir/CMakeCache.txt" ] || cmake --preset "$target"
  cmake --build --preset "$target" --target zorvhost walkthrough
  echo "Playing the $target build ($dir/bin)${i686_skipped:+; the i686 build does not run here: $i686_skipped}."
  export ZORV_DEMO_DIR=$dir
  stage=(bash -c 'source scripts/targets.sh && in_wine "$ZORV_DEMO_DIR" bash "$@"' in_wine "$0" "$@")
  if [ -n "${DISPLAY:-}" ] && [ -z "${CI:-}" ]; then
    exec env ZORV_DEMO_STAGE=play "${stage[@]}"
  fi
  exec env ZORV_DEMO_STAGE=walkthrough xvfb-run -a -s "-screen 0 1024x768x24" "${stage[@]}"
fi

host=$ZORV_DEMO_DIR/bin/zorvhost.exe
"$WINE" "$host" --setup-sample
status=0

if [ "$ZORV_DEMO_STAGE" = play ]; then
  bash tests/support/at-dpi.sh "$dpi" "$WINE" "$host" ${rest[@]+"${rest[@]}"} || status=$?
  echo
  "$WINE" "$host" scores || true
  exit $status
fi

rm -rf "$shots"
mkdir -p "$shots"
bash tests/support/at-dpi.sh "$dpi" "$WINE" "$ZORV_DEMO_DIR/bin/walkthrough.exe" "$("$WINE" winepath -w "$shots")" ||
  status=$?
echo
echo "The sample installation, which the walk-through leaves as it was:"
"$WINE" "$host" scores || true

for picture in "$shots"/*.bmp; do
  [ -e "$picture" ] || continue
  convert "$picture" -strip -define png:exclude-chunks=date,time "${picture%.bmp}.png"
  rm "$picture"
done
echo "Pictures of every dialog: $shots/"
if [ $status -eq 0 ] && [ -n "$update" ]; then
  mkdir -p "$docs"
  rm -f "$docs"/*.png
  cp "$shots"/*.png "$docs"/
  echo "Copied to $docs/."
fi
exit $status
