#!/usr/bin/env bash
# Installs what building and running the plug-ins needs on a Debian machine; does nothing
# when it is all there already. A package the build or the x86_64 suite needs stops it, with
# apt's own message. What only the i686 suite needs (wine32) and a package index that the
# archive is still syncing are said in one line each and passed over: the x86_64 build then
# runs under wine64, as on a machine that cannot run 32-bit programs.
set -euo pipefail
needed=(cmake make gawk unzip zip googletest imagemagick xvfb xauth
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
  wine wine64 fonts-wine locales)
i686_only=wine32:i386

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
apt_get() { DEBIAN_FRONTEND=noninteractive $sudo apt-get "$@"; }

missing() {
  local p
  for p; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

# apt's first error in a log, for a one-line report.
first_error() { grep -m1 '^E: ' "$1" | cut -c4- || echo "apt-get gave no reason"; }

# apt-get update fails as a whole when one index does, as while the archive syncs it; one more
# try, then the lists that did arrive are enough.
update_package_lists() {
  local log
  log=$(mktemp)
  if apt_get update -qq >"$log" 2>&1 || apt_get update -qq >"$log" 2>&1; then
    rm -f "$log"
    return
  fi
  if [ -z "$(apt-get indextargets --format '$(FILENAME)' 'Created-By: Packages')" ]; then
    cat "$log" >&2
    rm -f "$log"
    return 1
  fi
  echo "install-deps: warning: apt-get update failed twice ($(first_error "$log"));" \
    "going on with the package lists there are." >&2
  rm -f "$log"
}

mapfile -t todo < <(missing "${needed[@]}")
mapfile -t todo32 < <(missing "$i686_only")
if [ ${#todo[@]} -gt 0 ] || [ ${#todo32[@]} -gt 0 ]; then
  [ ${#todo32[@]} -eq 0 ] || $sudo dpkg --add-architecture i386
  update_package_lists
  [ ${#todo[@]} -eq 0 ] || apt_get install -y -qq --no-install-recommends "${todo[@]}"
  if [ ${#todo32[@]} -gt 0 ]; then
    log=$(mktemp)
    apt_get install -y -qq --no-install-recommends "$i686_only" >"$log" 2>&1 ||
      echo "install-deps: left out $i686_only ($(first_error "$log"));" \
        "the i686 suite will not run, the x86_64 one will." >&2
    rm -f "$log"
  fi
fi
# The tests of code page 932 run Wine in this locale; without it, Wine maps no file names.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  $sudo localedef -i ja_JP -f UTF-8 ja_JP.UTF-8 || echo "Could not make the ja_JP.UTF-8 locale: the code page 932 tests will be skipped." >&2
fi
