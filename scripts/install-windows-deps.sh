#!/bin/sh
# Installs what the Windows cross builds and their Wine tests need, when the
# machine can get it: mingw-w64 and 64-bit Wine, then 32-bit Wine (wine32,
# which needs the i386 architecture). Prints one line of what it found or
# installed. Exit status 0 when the cross builds and the 64-bit Wine tests
# can run, 1 otherwise (with a line saying what is missing); 32-bit Wine
# that cannot be installed only costs the 32-bit runs, with a line saying
# why.
set -u
sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
log=$(mktemp)
trap 'rm -f "$log"' EXIT
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
apt_install() { DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "$@" > "$log" 2>&1; }
# An install that fails is tried once more after an update: a stale package
# index (or one without the i386 packages yet) is the usual cause.
install_packages() { apt_install "$@" || { $sudo apt-get update -qq > "$log" 2>&1 && apt_install "$@"; }; }
why() { { grep -E '^E: ' "$log" || tail -n 1 "$log"; } | head -n 1 | cut -c 1-160; }

missing=""
for p in g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64; do have "$p" || missing="$missing $p"; done
# shellcheck disable=SC2086
if [ -n "$missing" ] && ! install_packages $missing; then
  echo "windows: cannot install$missing ($(why)); the cross build and the Wine tests are skipped"
  exit 1
fi

# 32-bit Wine: the i386 architecture first, whose package index the
# install's retry fetches.
wine32=installed
if ! have wine32; then
  if ! dpkg --print-foreign-architectures | grep -qx i386 && ! $sudo dpkg --add-architecture i386 > "$log" 2>&1; then
    wine32="cannot add the i386 architecture ($(why))"
  elif ! install_packages wine32:i386; then
    wine32="cannot be installed ($(why))"
  else
    missing="$missing wine32"
  fi
fi

if [ -n "$missing" ]; then
  found="installed$missing"
elif [ "$wine32" = installed ]; then
  found="mingw-w64, Wine and 32-bit Wine are installed"
else
  found="mingw-w64 and Wine are installed"
fi
if [ "$wine32" = installed ]; then
  echo "windows: $found"
else
  echo "windows: $found; 32-bit Wine $wine32, so the 32-bit Wine runs are skipped"
fi
exit 0
