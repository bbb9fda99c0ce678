#!/bin/sh
# Runs the Windows test programs of BUILD under Wine, 32-bit or 64-bit as
# they were built, leaving out the tests that tests/windows-skips.txt lists
# (each with its reason there). When this Wine does not run 32-bit programs
# a 32-bit BUILD is not run, with a line saying so.
set -eu
build=$1
export WINEDEBUG=-all
export WINEPREFIX="${WINEPREFIX:-$(pwd)/$build/wineprefix}"
filter=$(grep -v '^#' tests/windows-skips.txt | awk 'NF { print $1 }' | paste -sd: -)

# The machine field of a program's PE header: 014c for 32-bit x86.
machine() {
  header=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  od -An -tx2 -j$((header + 4)) -N2 "$1" | tr -d ' '
}
set -- "$build"/tests/test_*.exe
[ -f "$1" ] || { echo "wine-tests: no test programs in $build/tests"; exit 1; }
bits=64
if [ "$(machine "$1")" = 014c ]; then
  bits=32
  if ! scripts/wine32-runs.sh; then
    echo "wine-tests: this Wine does not run 32-bit programs (Debian's wine32 is not installed); the 32-bit test run of $build is skipped"
    exit 0
  fi
fi

status=0 passed=0 skipped=0 failed=0 listed=0
for program in "$@"; do
  echo "== $(basename "$program") ($bits-bit)"
  # Every test the program has, left out or not: "  Name" lines under
  # "Suite." lines.
  count=$(wine "$program" --gtest_list_tests 2>/dev/null | tr -d '\r' | grep -c '^  ' || true)
  listed=$((listed + count))
  rc=0
  wine "$program" --gtest_brief=1 --gtest_filter="-$filter" > "$program.wine.log" 2>&1 || rc=$?
  tr -d '\r' < "$program.wine.log" > "$program.wine.txt"
  if [ "$rc" -ne 0 ]; then
    grep -E 'Failure|FAILED|Which is|Expected|Unhandled' "$program.wine.txt" | head -n 30
    echo "$(basename "$program") exited with status $rc (log: $program.wine.log)"
    status=1
  elif ! grep -q '^\[==========\] .* ran\.' "$program.wine.txt"; then
    # Wine that cannot start a program exits with status 0 too.
    echo "$(basename "$program") did not run its tests (log: $program.wine.log)"
    status=1
  fi
  grep -E '^\[  (PASSED|SKIPPED)' "$program.wine.txt" || true
  n=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\{0,1\}\..*/\1/p' "$program.wine.txt")
  passed=$((passed + ${n:-0}))
  n=$(sed -n 's/^\[  SKIPPED \] \([0-9]*\) tests\{0,1\}, listed below.*/\1/p' "$program.wine.txt")
  skipped=$((skipped + ${n:-0}))
  n=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) tests\{0,1\}, listed below.*/\1/p' "$program.wine.txt")
  failed=$((failed + ${n:-0}))
  rm -f "$program.wine.txt"
done
echo "wine-tests: $bits-bit: $passed passed, $failed failed, $skipped skipped by the tests," \
  "$((listed - passed - failed - skipped)) left out by tests/windows-skips.txt (of $listed)"
exit $status
