#!/usr/bin/env bash
# Builds both targets and runs every test: the i686 DLLs are checked as built on every machine;
# the whole suite runs under Wine on a private X display against the x86_64 build everywhere,
# and against the i686 build where this machine can run 32-bit programs. ZORV_TARGETS=x64
# runs the x86_64 suite alone; arguments go to ctest (for example -R orvane).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/targets.sh

if [ -z "${ZORV_ON_DISPLAY:-}" ]; then
  set_up
  for target in i686 x64; do
    cmake --preset "$target"
    cmake --build --preset "$target"
  done
  exec env ZORV_ON_DISPLAY=1 xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi

choose_targets
status=0
ran=()
echo "== The i686 DLLs as built"
ctest --preset i686 -L static "$@" || status=1
ran+=("i686 deliverable checks")

for target in $run_targets; do
  dir=$(target_dir "$target")
  echo "== The $target suite, under $(. "$dir/wine-env.sh" && echo "$WINE")"
  start=$SECONDS
  in_wine "$dir" ctest --preset "$target" -LE static "$@" || status=1
  ran+=("$target suite ($((SECONDS - start)) s)")
done

echo
echo "Ran: $(IFS=,; echo "${ran[*]}" | sed 's/,/, /g')."
[ -z "$i686_skipped" ] || echo "The i686 suite did not run: $i686_skipped; the i686 DLLs were checked as built."
exit $status
