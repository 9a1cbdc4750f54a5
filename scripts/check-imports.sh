#!/bin/sh
# Checks that every function a Windows program imports from znVelmora.dll is exported by the
# DLL at hand, as the loader will ask: for a host built against an earlier release's headers.
#   check-imports.sh PROGRAM.exe znVelmora.dll
set -eu
program=$1
library=$2
# The names under "DLL Name: znVelmora.dll" in the import tables, up to the next DLL.
imports=$(objdump -p "$program" |
  awk '/DLL Name:/ { inside = ($3 == "znVelmora.dll") } inside && /^\t[0-9a-f]+[ \t]+[0-9]+[ \t]+[_A-Za-z]/ { print $NF }')
exports=$(objdump -p "$library" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
  awk '{ print $NF }')
[ -n "$imports" ] || { echo "$program imports nothing from znVelmora.dll"; exit 1; }
status=0
count=0
for name in $imports; do
  count=$((count + 1))
  echo "$exports" | grep -qx "$name" || { echo "not exported: $name"; status=1; }
done
echo "$count imports of $(basename "$program") from znVelmora.dll checked"
exit $status
