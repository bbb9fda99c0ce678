#!/bin/sh
# Runs every fuzz target of BUILD for SECONDS each, from a working copy of
# its seed corpus; extra arguments go to libFuzzer. Fails on the first
# target that finds a crash, a leak or an undefined behaviour, leaving the
# input that did it in BUILD/fuzz-findings/.
set -eu
build=$1
seconds=$2
shift 2
findings="$build/fuzz-findings"
mkdir -p "$findings"
status=0
for source in tests/fuzz/fuzz_*.cpp; do
  target=$(basename "$source" .cpp)
  name=${target#fuzz_}
  work="$build/fuzz-corpus/$name"
  mkdir -p "$work"
  cp -n tests/fuzz/corpus/"$name"/* "$work"/ 2>/dev/null || true
  echo "== $target: $seconds s"
  if ! "$build/tests/fuzz/$target" "$work" -max_total_time="$seconds" -print_final_stats=1 \
      -artifact_prefix="$findings/$name-" "$@" > "$build/fuzz-$name.log" 2>&1; then
    echo "$target found a problem; see $build/fuzz-$name.log and $findings/"
    tail -n 30 "$build/fuzz-$name.log"
    status=1
  fi
  grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "$build/fuzz-$name.log" | sed 's/^/   /' || true
  echo "   corpus: $(ls "$work" | wc -l) inputs"
done
exit $status
