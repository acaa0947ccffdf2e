#!/usr/bin/env bash
# Packs the release zip from the given files and their SHA256SUMS, as a function of their bytes
# alone: entries sorted by name, every time the same (1980-01-01, the first a zip can hold, in
# UTC), one mode, and no extra fields (-X), which would carry the staged files' times and the
# builder's user and group.
#
# usage: pack-zip.sh ZIP FILE...
set -euo pipefail
zip=$1
shift
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp "$@" "$stage"/
names=()
for file; do names+=("$(basename "$file")"); done
cd "$stage"
sha256sum "${names[@]}" >SHA256SUMS
chmod 644 ./*
touch -d @315532800 ./*
rm -f "$zip"
LC_ALL=C ls | TZ=UTC zip -X -D -q "$zip" -@
