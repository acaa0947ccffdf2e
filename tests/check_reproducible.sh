#!/usr/bin/env bash
# Builds the plug-ins a second time, from the same sources in another folder (a longer path,
# minutes later), and compares the DLLs byte for byte with this build's. The link stamps no
# time and the DLLs carry no build path, so any difference is a fault.
#
# usage: check_reproducible.sh CMAKE SOURCE_DIR TOOLCHAIN_FILE BIN_DIR
set -euo pipefail
cmake=$1 source=$2 toolchain=$3 bin=$4
objdump=${OBJDUMP:-objdump}
work=$(mktemp -d /tmp/zorv-second-build.XXXXXX)
trap 'rm -rf "$work"' EXIT
second=$work/somewhere/else/entirely/build

"$cmake" -S "$source" -B "$second" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
  -DBUILD_TESTING=OFF >/dev/null
"$cmake" --build "$second" --target orvane quibbix -j2 >/dev/null

status=0
for dll in orvane.dll quibbix.dll; do
  stamp=$("$objdump" -p "$bin/$dll" | awk -F'\t' '/^Time\/Date/ && !seen { print $NF; seen = 1 }')
  if [ "$stamp" != "Thu Jan  1 00:00:00 1970" ]; then
    echo "FAILED: $dll carries a link time stamp ($stamp)"
    status=1
  fi
  if cmp "$bin/$dll" "$second/bin/$dll"; then
    echo "ok: $dll is the same byte for byte when built in $second"
  else
    echo "FAILED: $dll differs when built in another folder"
    status=1
  fi
done
exit $status
