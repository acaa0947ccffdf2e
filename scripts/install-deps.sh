#!/usr/bin/env bash
# Installs what building and running the plug-ins needs on a Debian machine; does nothing
# when it is all there already. wine32 installs on machines that cannot run 32-bit programs
# too; there it only warns, and the x86_64 build runs under wine64 instead.
set -euo pipefail
packages=(cmake make gawk unzip googletest imagemagick xvfb xauth
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
  wine wine32:i386 wine64 fonts-wine locales)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
if [ ${#missing[@]} -gt 0 ]; then
  $sudo dpkg --add-architecture i386
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# The tests of code page 932 run Wine in this locale; without it, Wine maps no file names.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  $sudo localedef -i ja_JP -f UTF-8 ja_JP.UTF-8 || echo "Could not make the ja_JP.UTF-8 locale: the code page 932 tests will be skipped." >&2
fi
