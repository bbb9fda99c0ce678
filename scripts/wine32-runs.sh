#!/bin/sh
# Exit status 0 when this Wine runs 32-bit programs, 1 otherwise. Asked of
# a program built now, so that a program under test that fails to start is
# not taken for a missing 32-bit Wine: 64-bit Wine that cannot start a
# 32-bit program says so on standard error and exits with status 0, so the
# probe's own status (42) is what tells.
set -u
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
echo 'int main(void) { return 42; }' > "$probe/probe.c"
i686-w64-mingw32-gcc "$probe/probe.c" -o "$probe/probe.exe" || exit 1
rc=0
WINEDEBUG=-all wine "$probe/probe.exe" > "$probe/probe.log" 2>&1 || rc=$?
[ "$rc" -eq 42 ]
