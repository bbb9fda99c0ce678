#!/bin/sh
# Installs the Debian packages the build, the tests and the benchmarks need,
# when any is missing, and says what it found. Needs root (or sudo, which
# it uses when it is not root) only when something is missing.
set -eu
packages="build-essential cmake pkg-config python3 python3-pip python3-pytest locales googletest libgtest-dev libbenchmark-dev libicu-dev icu-devtools libcli11-dev clang libclang-rt-dev"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
count=$(echo $packages | wc -w)
if [ -z "$missing" ]; then
  echo "install-deps: all $count packages the build, tests and benchmarks need are installed"
  exit 0
fi
echo "install-deps: installing$missing"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
$sudo apt-get update -qq
# shellcheck disable=SC2086
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq $missing
