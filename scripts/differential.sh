#!/bin/sh
# Compares the host layer's code page answers of the portable backend (a
# Linux build) with those of the Windows backend (a Windows build run under
# Wine); every difference must be listed in known-differences.txt.
set -eu
linux_dump=$1
windows_dump=$2
known=tests/differential/known-differences.txt
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export WINEDEBUG=-all
export WINEPREFIX="${WINEPREFIX:-$work/wineprefix}"
"$linux_dump" | grep -v '^ansi ' > "$work/portable.txt"
 wine "$windows_dump" 2>/dev/null | tr -d '\r' | grep -v '^ansi ' > "$work/windows.txt"
diff "$work/portable.txt" "$work/windows.txt" | sed -n 's/^[<>] //p' > "$work/differences.txt" || true
grep -v '^#' "$known" | grep -v '^$' > "$work/patterns.txt"
grep -v -E -f "$work/patterns.txt" "$work/differences.txt" > "$work/unexplained.txt" || true
total=$(wc -l < "$work/portable.txt")
listed=$(wc -l < "$work/differences.txt")
if [ -s "$work/unexplained.txt" ]; then
  echo "differential: $(wc -l < "$work/unexplained.txt") unexplained differences, for example:"
  head -n 20 "$work/unexplained.txt"
  exit 1
fi
echo "differential: $total answers compared, $listed differences, all of them listed with their reason"
