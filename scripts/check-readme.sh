#!/bin/sh
# Runs every command of README.md's sh blocks (but `make test`, which CI
# runs anyway), and checks that the C example there is
# examples/convert_and_compare.c, which it builds and runs.
set -eu
export QSTR14_REGISTRY=:memory:
commands=$(awk '/^```sh$/ { inside = 1; next } /^```$/ { inside = 0 } inside' README.md |
  sed 's/[[:space:]]*#.*$//' | grep -v -E '^make test' | grep -v '^$')
echo "$commands" | while IFS= read -r command; do
  echo "\$ $command"
  sh -c "$command" > /tmp/qstr14-readme.out 2>&1 || { cat /tmp/qstr14-readme.out; echo "readme: failed: $command"; exit 1; }
done
awk '/^```c$/ { inside = 1; next } /^```$/ { inside = 0 } inside' README.md > /tmp/qstr14-readme-example.c
cmp -s /tmp/qstr14-readme-example.c examples/convert_and_compare.c ||
  { echo "readme: the C example differs from examples/convert_and_compare.c"; exit 1; }
rm -rf /tmp/qstr14-readme /tmp/qstr14-readme.dz /tmp/qstr14-readme.out /tmp/qstr14-readme-example.c
echo "readme: every command ran"
