#!/bin/sh
# Installs what the Windows cross build and its Wine tests need, when the
# machine can get it: mingw-w64 and 64-bit Wine (and 32-bit Wine, which
# needs the i386 architecture). Exit status 0 when the cross build and the
# Wine tests can run, 1 otherwise (with a line saying what is missing).
set -u
sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
missing=""
for p in g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64; do have "$p" || missing="$missing $p"; done
if [ -n "$missing" ]; then
  echo "installing:$missing"
  $sudo apt-get update -qq && DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq $missing || {
    echo "windows: cannot install$missing; the cross build and the Wine tests are skipped"
    exit 1
  }
fi
exit 0
