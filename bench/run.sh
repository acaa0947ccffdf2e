#!/usr/bin/env bash
# Builds the plug-ins and the benchmark, then runs it under Wine on a private X display: the
# i686 build where this machine can run 32-bit programs, the x86_64 build otherwise
# (ZORV_TARGETS=x64 forces that). The table's first heading names the target. Arguments go to
# the benchmark: --growth runs only the growth tables.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/targets.sh
if [ -z "${ZORV_BENCH_DIR:-}" ]; then
  set_up
  target=${run_targets##* }
  dir=$(target_dir "$target")
  cmake --preset "$target" >/dev/null
  cmake --build --preset "$target" --target bench
  # Other work on the machine shows in the times: the load is printed before and after.
  echo "Load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
  echo "Measuring the $target build${i686_skipped:+ (the i686 build does not run here: $i686_skipped)}."
  # The benchmark, its Wine server and its X server share one processor: each call that goes to
  # the Wine server costs several times more when it wakes it on another, idle processor (seen on
  # a 2-processor virtual machine), and where the scheduler puts them changes from run to run.
  cpu=$(taskset -pc $$ | sed 's/.*[,-]//')
  echo "On processor $cpu only."
  exec env ZORV_BENCH_DIR="$dir" taskset -c "$cpu" xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi

measure() { "$WINE" "$ZORV_BENCH_DIR/bin/bench.exe" "$@"; }
status=0
in_wine "$ZORV_BENCH_DIR" measure "$@" || status=$?
echo "Load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
exit $status
