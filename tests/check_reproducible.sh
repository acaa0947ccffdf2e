#!/usr/bin/env bash
# Builds and packs the plug-ins a second time, from the same sources in another folder (a
# longer path, minutes later), and compares the DLLs and the release zip byte for byte with this
# build's. The link stamps no time, the DLLs carry no build path and the zip no time or owner,
# so any difference is a fault.
#
# usage: check_reproducible.sh CMAKE SOURCE_DIR TOOLCHAIN_FILE BUILD_DIR GAME...
set -euo pipefail
cmake=$1 source=$2 toolchain=$3 build=$4
shift 4
bin=$build/bin
objdump=${OBJDUMP:-objdump}
work=$(mktemp -d /tmp/zorv-second-build.XXXXXX)
trap 'rm -rf "$work"' EXIT
second=$work/somewhere/else/entirely/build

"$cmake" -S "$source" -B "$second" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
  -DBUILD_TESTING=OFF >/dev/null
"$cmake" --build "$build" --target package >/dev/null
"$cmake" --build "$second" --target package -j2 >/dev/null

status=0
for game; do
  dll=$game.dll
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
first_zip=$(sha256sum "$build"/zorv-plugins-*.zip | cut -d' ' -f1)
second_zip=$(sha256sum "$second"/zorv-plugins-*.zip | cut -d' ' -f1)
if [ "$first_zip" = "$second_zip" ]; then
  echo "ok: the release zip is the same byte for byte when packed in $second ($first_zip)"
else
  echo "FAILED: the release zip differs when packed in another folder ($first_zip, $second_zip)"
  status=1
fi
exit $status
