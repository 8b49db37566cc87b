#!/usr/bin/env bash
# Checks the built plug-in module's tables.
#   win32: a PE32 i386 DLL exporting exactly _AttachPlugin@4,
#   win64: a PE32+ x86-64 DLL (machine 0x8664) exporting exactly AttachPlugin;
#          both importing only Windows system DLLs, carrying version information.
#   native: an ELF module whose only exported function is AttachPlugin.
set -euo pipefail
mode=$1 module=$2
fail() { echo "check-module-tables: $*" >&2; exit 1; }

case $mode in
  win32) format=pei-i386 magic=010b machine=014c export=_AttachPlugin@4 ;;
  win64) format=pei-x86-64 magic=020b machine=8664 export=AttachPlugin ;;
esac

if [ "$mode" = win32 ] || [ "$mode" = win64 ]; then
  dump=$(x86_64-w64-mingw32-objdump -p "$module")
  grep -q "file format $format\$" <<<"$dump" || fail "not a $format image"
  grep -q "^Magic[[:space:]]*$magic" <<<"$dump" || fail "optional header magic is not $magic"
  # The machine field of the file header, read from the file itself.
  pe=$(od -An -t u4 -j 60 -N 4 "$module" | tr -d ' ')
  [ "$(od -An -t x2 -j $((pe + 4)) -N 2 "$module" | tr -d ' ')" = "$machine" ] || fail "machine is not 0x$machine"
  grep -q $'^\tDLL$' <<<"$dump" || fail "not a DLL"
  # The name table of the export directory: one line per export, "[   0] _AttachPlugin@4".
  names=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" | sed -n 's/^[[:space:]]*\[ *[0-9]*\] //p')
  [ "$names" = "$export" ] || fail "exports are '$names', expected only $export"
  allowed='^(kernel32|user32|gdi32|advapi32|oleaut32|ole32|msvcrt|shell32|comctl32|comdlg32|api-ms-win-[a-z0-9-]+)\.dll$'
  imports=$(grep 'DLL Name:' <<<"$dump" | awk '{print tolower($3)}')
  [ -n "$imports" ] || fail "no imports found"
  for dll in $imports; do
    [[ "$dll" =~ $allowed ]] || fail "imports $dll, which is not a Windows system DLL"
  done
  # Debian's interpreter, which has python3-pefile.
  /usr/bin/python3 - "$module" <<'PY'
import sys, pefile
pe = pefile.PE(sys.argv[1])
strings = {}
for info in getattr(pe, "FileInfo", []) or []:
    for entry in info:
        for table in getattr(entry, "StringTable", []):
            strings.update({k.decode(): v.decode() for k, v in table.entries.items()})
for key in ("ProductName", "FileDescription", "FileVersion", "ProductVersion"):
    if not strings.get(key):
        sys.exit("check-module-tables: version information lacks " + key)
print("version information:", strings["ProductName"], strings["FileVersion"])
PY
else
  syms=$(nm -D --defined-only "$module" | awk '$2 == "T" {print $3}')
  [ "$syms" = "AttachPlugin" ] || fail "exported functions are '$syms', expected only AttachPlugin"
fi
echo "check-module-tables: $mode module $module is sound"
