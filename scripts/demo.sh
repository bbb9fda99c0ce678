#!/bin/sh
# What `make demo` shows, in about a screen: the environment the library
# sees, a conversion round trip, and one word list sorted under two
# languages that order it differently.
set -eu
qstr=${1:-build/cli/qstr}
export QSTR14_REGISTRY="${QSTR14_REGISTRY:-:memory:}"
cd "$(dirname "$0")/.."

echo "\$ qstr info"
"$qstr" info
echo
echo "\$ qstr convert --from cp932 --to utf8 samples/text-932.txt"
"$qstr" convert --from cp932 --to utf8 samples/text-932.txt
echo
echo "# a round trip: UTF-8 -> document stream -> code page 1252 -> UTF-8"
echo "\$ qstr convert --from utf8 --to dz samples/words/de.txt | qstr convert --from dz --to cp1252 | qstr convert --from cp1252 --to utf8"
"$qstr" convert --from utf8 --to dz samples/words/de.txt | "$qstr" convert --from dz --to cp1252 |
  "$qstr" convert --from cp1252 --to utf8 | tr '\n' ' '
echo
echo
for lang in US SV; do
  printf '$ qstr sort --lang %s samples/words/sv.txt   ' "$lang"
  "$qstr" sort --lang "$lang" samples/words/sv.txt | tr '\n' ' '
  echo
done
for lang in US ES; do
  printf '$ qstr sort --lang %s samples/words/es.txt   ' "$lang"
  "$qstr" sort --lang "$lang" samples/words/es.txt | tr '\n' ' '
  echo
done
