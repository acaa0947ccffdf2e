#!/usr/bin/env bash
# Compares two outputs of bench/run.sh row by row. The verdict is on what the bar judges: the
# second run's plug-in / floor over the first's (for a dialog both the ratio of medians and the
# paired one), within 10% or not. The times themselves follow the speed of the machine, which
# on a virtual machine drifts between runs, so their quotients are shown beside it only.
#   bash bench/compare.sh first.txt second.txt
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 first.txt second.txt" >&2; exit 2; }
awk '
  # The times of a row, keyed by its name: a dialog of the table, or a size of a growth table.
  function row(line, file,    key, rest, n, f, times, i) {
    gsub(/\[[^]]*\]/, "", line)
    if (line ~ /^[A-Z][a-z]/ && line ~ /(yes|no)  [0-9]/) {
      key = substr(line, 1, 21); rest = substr(line, 22)
      n = split(rest, f, " "); times = f[1] " " f[2] " " f[4] " " f[6]; ratios = f[7] " " f[8]
    } else if (line ~ /^  +[0-9]+ +[0-9.]+ +[0-9.]+ +[0-9.]+$/) {
      n = split(line, f, " "); key = section " " f[1]; times = f[2] " " f[3]; ratios = f[4]
    } else return
    if (file == 1) { order[++rows] = key; first[key] = times; firstRatio[key] = ratios }
    else { second[key] = times; secondRatio[key] = ratios }
  }
  # The quotients of the second list over the first, and the one furthest from 1 in worst.
  function quotients(one, two,    a, b, n, i, q, text) {
    n = split(one, a, " "); split(two, b, " ")
    text = ""; worst = 1
    for (i = 1; i <= n; i++) {
      q = b[i] / a[i]; text = text sprintf(" %5.2f", q)
      if ((q > 1 ? q - 1 : 1 - q) > (worst > 1 ? worst - 1 : 1 - worst)) worst = q
    }
    return text
  }
  { sub(/\r$/, "") }  # Wine writes CRLF
  /^Custom levels selection/ { section = "custom levels, sets" }
  /^Quibbix hall of fame, time/ { section = "hall of fame, games" }
  { row($0, FNR == NR ? 1 : 2) }
  END {
    printf "%-28s %-13s %-12s %s\n", "row", "plug-in/floor", "", "times (second / first)"
    bad = 0
    for (r = 1; r <= rows; r++) {
      key = order[r]
      if (!(key in second)) { printf "%-28s missing in the second run\n", key; bad++; continue }
      text = quotients(firstRatio[key], secondRatio[key])
      ok = worst >= 0.9 && worst <= 1.1
      if (!ok) bad++
      printf "%-28s%-13s %-12s %s\n", key, text, ok ? "within 10%" : "OUTSIDE 10%", quotients(first[key], second[key])
    }
    printf "\n%d of %d rows outside 10%%\n", bad, rows
    exit bad > 0
  }' "$1" "$2"
