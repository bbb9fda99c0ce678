#!/bin/sh
# Runs the Windows test programs of BUILD under Wine, leaving out the tests
# that tests/windows-skips.txt lists (each with its reason there).
set -eu
build=$1
export WINEDEBUG=-all
export WINEPREFIX="${WINEPREFIX:-$(pwd)/$build/wineprefix}"
filter=$(grep -v '^#' tests/windows-skips.txt | awk 'NF { print $1 }' | paste -sd: -)
status=0
for program in "$build"/tests/test_*.exe; do
  echo "== $(basename "$program")"
  if ! wine "$program" --gtest_brief=1 --gtest_filter="-$filter" > "$program.wine.log" 2>&1; then
    grep -E 'Failure|FAILED|Which is|Expected' "$program.wine.log" | head -n 30
    status=1
  fi
  grep -E '^\[  (PASSED|SKIPPED)' "$program.wine.log" || true
done
exit $status
