#!/usr/bin/env bash
# Installs the build into a fresh folder and checks the layout a user copies
# into the host's folder.
set -euo pipefail
build=$1 prefix=$2
rm -rf "$prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
status=0
for file in Plugins/Tavrel/Tavrel.cpg Plugins/Tavrel/Tavrel.bmp Plugins/Tavrel/TavrelSettings.bmp ReadMe.txt; do
  if [ ! -s "$prefix/$file" ]; then echo "check-install: $file missing" >&2; status=1; fi
done
for bmp in Tavrel TavrelSettings; do
  if ! file "$prefix/Plugins/Tavrel/$bmp.bmp" | grep -q '24'; then echo "check-install: $bmp.bmp is not a 24-bit bitmap" >&2; status=1; fi
done
extra=$(cd "$prefix" && find . -type f | wc -l)
[ "$extra" = 4 ] || { echo "check-install: $extra files installed, expected 4" >&2; status=1; }
[ "$status" = 0 ] && echo "check-install: layout as expected"
exit "$status"
