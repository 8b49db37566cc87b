#!/usr/bin/env bash
# Checks the built plug-in module's tables.
#   win32: a PE32 i686 DLL exporting exactly _AttachPlugin@4, importing only
#          Windows system DLLs, carrying version information.
#   native: an ELF module whose only exported function is AttachPlugin.
set -euo pipefail
mode=$1 module=$2
fail() { echo "check-module-tables: $*" >&2; exit 1; }

if [ "$mode" = win32 ]; then
  dump=$(i686-w64-mingw32-objdump -p "$module")
  grep -q 'file format pei-i386' <<<"$dump" || fail "not a PE32 i386 image"
  grep -q 'Characteristics.*' <<<"$dump" && grep -q 'DLL' <<<"$dump" || fail "not a DLL"
  # The name table of the export directory: one line per export, "[   0] _AttachPlugin@4".
  names=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" | sed -n 's/^[[:space:]]*\[ *[0-9]*\] //p')
  [ "$names" = "_AttachPlugin@4" ] || fail "exports are '$names', expected only _AttachPlugin@4"
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
