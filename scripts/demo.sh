#!/bin/sh
# What `make demo` shows: the library at work on the bundled samples.
set -eu
qstr=${1:-build/cli/qstr}
export QSTR14_REGISTRY="${QSTR14_REGISTRY:-:memory:}"
cd "$(dirname "$0")/.."
run() {
  echo "\$ qstr $*"
  "$qstr" "$@"
  echo
}

run info
echo "\$ qstr chars 8 | head -4        # native Greek letters"
"$qstr" chars 8 | head -4
echo
run convert --from cp1252 --to utf8 samples/text-1252.txt
run convert --from cp932 --to utf8 samples/text-932.txt
echo "\$ qstr convert --from utf8 --to dz samples/words/de.txt | qstr convert --from dz --to cp1252 | qstr convert --from cp1252 --to utf8"
"$qstr" convert --from utf8 --to dz samples/words/de.txt | "$qstr" convert --from dz --to cp1252 |
  "$qstr" convert --from cp1252 --to utf8 | tr '\n' ' '
echo
