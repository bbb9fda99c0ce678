#!/bin/sh
# Installs the Debian packages the build, the tests and the benchmarks need,
# when any is missing. Needs root (or sudo) only when something is missing.
set -eu
packages="build-essential cmake pkg-config python3 locales googletest libgtest-dev libbenchmark-dev libicu-dev icu-devtools libcli11-dev clang libclang-rt-dev"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "installing:$missing"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
$sudo apt-get update -qq
# shellcheck disable=SC2086
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq $missing
