#!/bin/sh
# Writes the manual page of qstr (roff) to OUT, from the tool's own help
# texts and README.md's table of variables, so that the page says what the
# tool says.
#   scripts/make-man.sh QSTR README.md OUT
set -eu
qstr=$1
readme=$2
exec > "$3"
# roff: a backslash is written \e; a line may not begin with . or '.
escape() { sed -e 's/\\/\\e/g' -e "s/^\\([.']\\)/\\\\\\&\\1/"; }
version=$("$qstr" --version | sed 's/^qstr //')
commands=$("$qstr" --help | awk '/^commands:/ { on = 1; next } on && /^  [a-z]/ { print $1 }')

echo ".TH QSTR 1 \"\" \"qstr $version\" \"User Commands\""
echo ".SH NAME"
echo "qstr \\- convert, sort and compare text the way the word processor does"
echo ".SH SYNOPSIS"
echo ".B qstr"
printf '%s\n' '[\fB\-\-version\fR] [\fB\-\-help\fR] \fICOMMAND\fR [\fIARGS\fR]'
echo ".SH DESCRIPTION"
echo ".nf"
"$qstr" --help | sed '1,2d' | escape
echo ".fi"
echo ".SH COMMANDS"
for command in $commands; do
  echo ".SS $command"
  echo ".nf"
  "$qstr" "$command" --help | escape
  echo ".fi"
done
echo ".SH ENVIRONMENT"
echo "The library reads these variables once per process."
awk -F'|' '/^\| `QSTR14_/ { gsub(/`/, "", $2); gsub(/^ +| +$/, "", $2); gsub(/`/, "", $3); gsub(/^ +| +$/, "", $3);
  gsub(/`/, "", $4); gsub(/^ +| +$/, "", $4); gsub(/\\/, "\\e", $3); gsub(/\\/, "\\e", $4);
  print ".TP\n.B " $2 "\n" $3 " (default: " $4 ")" }' "$readme"
echo ".SH EXIT STATUS"
echo "0 on success, 1 for input that cannot be read or converted, 2 for bad usage."
