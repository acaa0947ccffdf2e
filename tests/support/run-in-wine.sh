#!/usr/bin/env bash
# Runs one test program under Wine and prints its output once it has ended. Wine's own
# processes that the program starts (the desktop, services) outlive it and keep the program's
# output open; with that output in a file rather than ctest's pipe, ctest does not wait for
# them. Takes the Wine loader, then the program and its arguments.
set -uo pipefail
out=$(mktemp)
trap 'rm -f "$out"' EXIT
"$@" >"$out" 2>&1 </dev/null
status=$?
cat "$out"
exit $status
