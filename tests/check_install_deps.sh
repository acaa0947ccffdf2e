#!/usr/bin/env bash
# Runs scripts/install-deps.sh against stand-in apt-get, dpkg and dpkg-query on a bad day at
# the archive: an index that fails to download, wine32 that cannot be installed. The set-up must
# go on and say what it left out; a package the build needs that cannot be installed still stops it.
#
# usage: check_install_deps.sh SOURCE_DIR
set -uo pipefail
script=$1/scripts/install-deps.sh
work=$(mktemp -d /tmp/zorv-install-deps.XXXXXX)
trap 'rm -rf "$work"' EXIT
bin=$work/bin
mkdir -p "$bin"

stand_in() { printf '#!/usr/bin/env bash\n%s\n' "$2" >"$bin/$1" && chmod +x "$bin/$1"; }
stand_in id 'echo 0'
stand_in locale 'echo ja_JP.utf8'
stand_in dpkg 'exit 0'
stand_in dpkg-query 'grep -qxF -- "${@: -1}" "$STATE/installed" && echo "install ok installed" || exit 1'
stand_in apt-get '
case $1 in
  update)
    echo update >>"$STATE/calls"
    echo "E: Failed to fetch http://archive/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?"
    exit 100 ;;
  indextargets) echo /var/lib/apt/lists/archive_main_binary-amd64_Packages.lz4 ;;
  install)
    for p; do
      case $p in
        wine32:i386) echo "E: Unable to correct problems, you have held broken packages."; exit 100 ;;
        "$UNAVAILABLE") echo "E: Unable to locate package $p"; exit 100 ;;
      esac
    done
    printf "%s\n" "$@" >>"$STATE/installed" ;;
esac'

# Runs the set-up with nothing installed; leaves its output in $work/out.
run() {
  export STATE=$work/state UNAVAILABLE=$1
  rm -rf "$STATE" && mkdir -p "$STATE" && touch "$STATE/installed"
  PATH=$bin:$PATH bash "$script" >"$work/out" 2>&1
}

status=0
fail() { echo "FAILED: $*"; sed 's/^/    /' "$work/out"; status=1; }

if ! run none; then
  fail "the set-up stopped over an index and wine32, which the x86_64 suite does not need"
elif [ "$(grep -c update "$STATE/calls")" != 2 ]; then
  fail "a failed index update was not tried exactly once more"
elif ! grep -qxF cmake "$STATE/installed"; then
  fail "the packages the build needs were not installed"
elif ! grep -q 'apt-get update failed twice (Failed to fetch http://archive/.*binary-i386' "$work/out" ||
  ! grep -q 'left out wine32:i386 (Unable to correct problems, you have held broken packages.)' "$work/out"; then
  fail "the set-up did not say what failed and what it left out"
else
  echo "ok: a failed index and wine32 are reported and passed over"
fi

if run cmake; then
  fail "the set-up went on without cmake, which the build needs"
elif ! grep -q 'Unable to locate package cmake' "$work/out"; then
  fail "apt's own message about cmake was not shown"
else
  echo "ok: a package the build needs that cannot be installed stops the set-up"
fi
exit $status
