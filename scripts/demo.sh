#!/bin/sh
# What `make demo` shows: the library at work on the bundled samples.
set -eu
qstr=${1:-build/cli/qstr}
export QSTR14_REGISTRY="${QSTR14_REGISTRY:-:memory:}"

echo "\$ qstr info"
"$qstr" info
