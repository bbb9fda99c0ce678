#!/bin/sh
# Builds the 32-bit smoke test and runs it beside QStr14.dll under Wine,
# when this Wine runs 32-bit programs; otherwise says so and succeeds. A
# smoke test that does not report every export answered fails.
set -eu
dll=$1
dir=$(dirname "$dll")
i686-w64-mingw32-gcc -O2 -Wall -static tests/windows/dll_smoke.c -o "$dir/dll_smoke.exe"
export WINEDEBUG=-all
export WINEPREFIX="${WINEPREFIX:-$(pwd)/$dir/wineprefix}"
if ! scripts/wine32-runs.sh; then
  echo "dll-smoke: this Wine does not run 32-bit programs (Debian's wine32 is not installed); the 32-bit smoke test is skipped"
  exit 0
fi
wine "$dir/dll_smoke.exe" > "$dir/dll_smoke.log" 2>&1 || true
if grep -q 'all exports answered' "$dir/dll_smoke.log"; then
  echo "dll-smoke: QStr14.dll loaded by name, every export answered"
else
  cat "$dir/dll_smoke.log"
  echo "dll-smoke: the 32-bit smoke test did not answer (log above)"
  exit 1
fi
