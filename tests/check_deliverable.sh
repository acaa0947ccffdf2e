#!/usr/bin/env bash
# Checks a built i686 plug-in DLL as the host will meet it, without running any of its code:
# the PE headers, the exports and how each export returns, the imports, and the resources,
# which must be byte for byte those of the x86_64 build whose dialogs the suite drives. The
# x86_64 DLL's imports are held to the same list, since its tests never look at them.
#
# usage: check_deliverable.sh DLL MAP X64_DLL "ID:WxHxBPP ..." "DIALOG_ID ..."
set -uo pipefail
dll=$1 map=$2 twin=$3 bitmaps=$4 dialogs=$5
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
windres=${WINDRES:-i686-w64-mingw32-windres}
twin_windres=${TWIN_WINDRES:-x86_64-w64-mingw32-windres}
twin_objdump=${TWIN_OBJDUMP:-x86_64-w64-mingw32-objdump}

failures=0
check() { # description, then a command that succeeds when it holds
  local what=$1
  shift
  if "$@"; then
    echo "ok: $what"
  else
    echo "FAILED: $what"
    failures=$((failures + 1))
  fi
}

for file in "$dll" "$map" "$twin"; do
  if [ ! -f "$file" ]; then
    echo "FAILED: $file is missing (scripts/test.sh builds both targets)"
    exit 1
  fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$objdump" -p "$dll" >"$work/headers" || exit 1
"$twin_objdump" -p "$twin" >"$work/twin-headers" || exit 1

field() { gawk -v name="$1" '$1 == name { print $2; exit }' "$work/headers"; }

# --- headers: what the host's loader and today's DLLs have
check "PE32 of machine i386" grep -q 'file format pei-i386' "$work/headers"
check "optional header magic 010b" test "$(field Magic)" = 010b
check "a DLL" grep -qx $'\tDLL' "$work/headers"
check "subsystem 3" test "$(field Subsystem)" = 00000003
check "OS version 4.0" test "$(field MajorOSystemVersion).$(field MinorOSystemVersion)" = 4.0
check "subsystem version 4.0" test "$(field MajorSubsystemVersion).$(field MinorSubsystemVersion)" = 4.0

# --- exports: by undecorated name, ordinals 1 score, 2 start, 3 stop, nothing else
exports=$(gawk '/^Export Address Table -- Ordinal Base/ { base = $NF }
  /^\[Ordinal\/Name Pointer\] Table/ { names = 1; next }
  names && /^\t\[/ { gsub(/[][]/, " "); print base + $1, $2; next }
  names { names = 0 }' "$work/headers")
expected_exports=$'1 fnGameScoreDlgzorv\n2 fnGameStartDlgzorv\n3 fnGameStopDlgzorv'
check "exports are exactly: $(echo $expected_exports)" test "$exports" = "$expected_exports"

# The address of each ordinal's function, as the export table gives it.
export_rva() {
  gawk -v ordinal="$1" '/^\t\[ *[0-9]+\] \+base\[/ { gsub(/[][+]/, " ");
    if ($3 == ordinal) { print $4; exit } }' "$work/headers"
}
image_base=$(field ImageBase)

# Where the function that starts at an address ends: at the next symbol or the end of its
# input section, whichever comes first, as the link map has them.
function_end() {
  gawk -v start=$(( $1 )) '
    function value(hex) { return strtonum(hex) }
    # an input section: [name] address size object
    $1 ~ /^0x/ && $2 ~ /^0x/ && NF >= 3 { a = value($1); s = value($2); if (a <= start && start < a + s) end = a + s; next }
    $1 ~ /^\./ && $2 ~ /^0x/ && $3 ~ /^0x/ { a = value($2); s = value($3); if (a <= start && start < a + s) end = a + s; next }
    # a symbol: address name
    $1 ~ /^0x/ && NF == 2 { a = value($1); if (a > start && (next_symbol == 0 || a < next_symbol)) next_symbol = a }
    END { if (next_symbol && next_symbol < end) end = next_symbol; print end }' "$map"
}

# Every way out of the function: each return removes the arguments' bytes, and no jump leaves
# it (a tail call would return from code that this check did not read).
returns_remove() { # ordinal, bytes
  local rva start end listing
  rva=$(export_rva "$1")
  [ -n "$rva" ] || return 1
  start=$(( 0x$image_base + 0x$rva ))
  end=$(function_end "$start")
  [ -n "$end" ] && [ "$end" -gt "$start" ] || return 1
  listing=$("$objdump" -d --no-show-raw-insn --start-address=$start --stop-address=$end "$dll" |
    gawk '/^ *[0-9a-f]+:\t/')
  local want='ret +\$0x'$(printf '%x' "$2")'$'
  [ "$2" -eq 0 ] && want='ret *$'
  local rets wrong outside
  rets=$(grep -cE '\bret' <<<"$listing")
  wrong=$(grep -E '\bret' <<<"$listing" | grep -cvE "$want")
  # A jump through memory may go anywhere, so it counts as leaving.
  outside=$(grep -E '\bj[a-z]+ ' <<<"$listing" | gawk -v s=$start -v e=$end \
    '{ t = $3; sub(/^0x/, "", t); t = t ~ /^[0-9a-f]+$/ ? strtonum("0x" t) : -1; if (t < s || t >= e) n++ }
     END { print n + 0 }')
  printf '  ordinal %s: %#x-%#x, %s returns, %s other, %s jumps out\n' "$1" "$start" "$end" "$rets" "$wrong" "$outside"
  [ "$rets" -gt 0 ] && [ "$wrong" -eq 0 ] && [ "$outside" -eq 0 ]
}
check "score (ordinal 1) returns with ret \$0x8 only" returns_remove 1 8
check "start (ordinal 2) returns with ret \$0x8 only" returns_remove 2 8
check "stop (ordinal 3) returns with a plain ret only" returns_remove 3 0

# --- imports, of both builds: the system DLLs and the C runtime only
only_system_imports() { # the imported DLLs' names, blank-separated
  local name
  for name in $1; do
    case $name in KERNEL32.DLL | USER32.DLL | GDI32.DLL | ADVAPI32.DLL | MSVCRT.DLL) ;; *) return 1 ;; esac
  done
  [ -n "$1" ]
}
for build in i686:headers x64:twin-headers; do
  imports=$(gawk '/DLL Name:/ { print toupper($3) }' "$work/${build#*:}" | sort -u | tr '\n' ' ')
  check "${build%%:*} imports only from KERNEL32, USER32, GDI32, ADVAPI32, msvcrt (has: $imports)" \
    only_system_imports "$imports"
done

# --- size: what the DLL holds beside its resources
rsrc_size=$("$objdump" -h "$dll" | gawk '$2 == ".rsrc" { print strtonum("0x" $3) }')
outside_rsrc=$(( $(stat -c %s "$dll") - ${rsrc_size:-0} ))
check "at most 48 KiB beside the resources (has $outside_rsrc bytes)" test "$outside_rsrc" -le 49152

# --- resources
"$windres" -J coff -O res -i "$dll" -o "$work/i686.res" &&
  "$twin_windres" -J coff -O res -i "$twin" -o "$work/x64.res" &&
  "$windres" -J res -O rc -i "$work/i686.res" -o "$work/i686.rc" || exit 1
check "resources byte for byte those of $(basename "$(dirname "$(dirname "$twin")")")/$(basename "$twin")" \
  cmp -s "$work/i686.res" "$work/x64.res"

# The first four words of a bitmap resource: header size, width, height, planes | bpp << 16.
bitmap_is() { # id, WxHxBPP
  gawk -v id="$1" -v want="$2" '
    $1 == id && $2 == "2" { found = 1; next }
    found && /^BEGIN/ { next }
    found { gsub(/[L,]/, " "); w = strtonum($2); h = strtonum($3); bpp = int(strtonum($4) / 65536);
            got = w "x" h "x" bpp; print "  bitmap " id ": " got; exit got == want ? 0 : 1 }
    END { if (!found) { print "  bitmap " id ": missing"; exit 1 } }' "$work/i686.rc"
}
for bitmap in $bitmaps; do
  check "bitmap ${bitmap%%:*} is ${bitmap#*:}" bitmap_is "${bitmap%%:*}" "${bitmap#*:}"
done
bitmap_count=$(grep -c '^[0-9]* 2 /\* RT_BITMAP' "$work/i686.rc")
check "no other bitmaps" test "$bitmap_count" -eq "$(wc -w <<<"$bitmaps")"
for dialog in $dialogs; do
  check "dialog template $dialog" grep -q "^$dialog DIALOG" "$work/i686.rc"
done
check "no other dialog templates" test "$(grep -c '^[0-9]* DIALOG' "$work/i686.rc")" -eq "$(wc -w <<<"$dialogs")"
check "a version resource" grep -q '^1 VERSIONINFO' "$work/i686.rc"

if [ $failures -ne 0 ]; then
  echo "$failures check(s) FAILED for $dll"
  exit 1
fi
echo "All checks passed for $dll"
