#!/bin/sh
# Compares the names a Windows DLL exports (objdump) with the export lists:
# the plain names of abi/exports.txt, plus the decorated C++ name of each
# abi/exports-cxx.txt entry.
set -eu
dll=$1
objdump=${2:-i686-w64-mingw32-objdump}
expected=$(mktemp)
actual=$(mktemp)
trap 'rm -f "$expected" "$actual"' EXIT
grep -E '^[A-Za-z_]' abi/exports.txt > "$expected"
if grep -qx 'QcvtGetRegistryLoc()' abi/exports-cxx.txt; then
  case "$objdump" in
    i686*) echo '?QcvtGetRegistryLoc@@YGPADXZ' >> "$expected" ;;
    *) echo '?QcvtGetRegistryLoc@@YAPEADXZ' >> "$expected" ;;
  esac
fi
"$objdump" -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
  sed -n 's/^[[:space:]]*\[[[:space:]]*[0-9]*\][[:space:]]*//p' > "$actual"
LC_ALL=C sort -o "$expected" "$expected"
LC_ALL=C sort -o "$actual" "$actual"
if ! diff -u "$expected" "$actual"; then
  echo "check-dll-exports: $dll does not export exactly the listed names" >&2
  exit 1
fi
echo "check-dll-exports: $(wc -l < "$actual") exports of $dll match the lists"
