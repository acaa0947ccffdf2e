#!/usr/bin/env bash
# Compares two outputs of bench/run.sh row by row: for each row, the second run's median over
# the first's for every time in it (plug-in, bare template, bare chain, floor), the one furthest
# from 1, and whether all are within 10%.
#   bash bench/compare.sh first.txt second.txt
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 first.txt second.txt" >&2; exit 2; }
awk '
  # The times of a row, keyed by its name: a dialog of the table, or a size of a growth table.
  function row(line, file,    key, rest, n, f, times, i) {
    gsub(/\[[^]]*\]/, "", line)
    if (line ~ /^[A-Z][a-z]/ && line ~ /(yes|no)  [0-9]/) {
      key = substr(line, 1, 21); rest = substr(line, 22)
      n = split(rest, f, " "); times = f[1] " " f[2] " " f[4] " " f[6]
    } else if (line ~ /^  +[0-9]+ +[0-9.]+ +[0-9.]+ +[0-9.]+$/) {
      n = split(line, f, " "); key = section " " f[1]; times = f[2] " " f[3]
    } else return
    if (file == 1) { order[++rows] = key; first[key] = times } else second[key] = times
  }
  { sub(/\r$/, "") }  # Wine writes CRLF
  /^Custom levels selection/ { section = "custom levels, sets" }
  /^Quibbix hall of fame, time/ { section = "hall of fame, games" }
  { row($0, FNR == NR ? 1 : 2) }
  END {
    printf "%-28s %s\n", "row", "second / first: each time, the furthest from 1"
    bad = 0
    for (r = 1; r <= rows; r++) {
      key = order[r]
      if (!(key in second)) { printf "%-28s missing in the second run\n", key; bad++; continue }
      n = split(first[key], a, " "); split(second[key], b, " ")
      text = ""; worst = 1
      for (i = 1; i <= n; i++) {
        q = b[i] / a[i]; text = text sprintf(" %5.2f", q)
        if ((q > 1 ? q - 1 : 1 - q) > (worst > 1 ? worst - 1 : 1 - worst)) worst = q
      }
      ok = worst >= 0.9 && worst <= 1.1
      if (!ok) bad++
      printf "%-28s%s   %5.2f %s\n", key, text, worst, ok ? "within 10%" : "OUTSIDE 10%"
    }
    printf "\n%d of %d rows outside 10%%\n", bad, rows
    exit bad > 0
  }' "$1" "$2"
