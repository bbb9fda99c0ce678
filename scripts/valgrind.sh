#!/bin/sh
# Runs every test program of BUILD under valgrind's memcheck. Fails on any
# memory error or definite leak.
set -eu
build=${1:-build}
status=0
for program in "$build"/tests/test_*; do
  [ -x "$program" ] || continue
  echo "== $(basename "$program")"
  if ! QSTR14_REGISTRY=:memory: valgrind --quiet --error-exitcode=1 --leak-check=full --suppressions=scripts/valgrind.supp \
      --errors-for-leak-kinds=definite "$program" --gtest_brief=1 > "$program.valgrind.log" 2>&1; then
    tail -n 40 "$program.valgrind.log"
    status=1
  fi
done
exit $status
