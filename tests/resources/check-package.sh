#!/usr/bin/env bash
# Checks the ZIP package: its name names the architecture and the module
# inside is of that architecture (a PE32 image in win32, a PE32+ image in
# win64, an ELF module natively), everything in Plugins/Tavrel. A Windows
# build makes the ZIP itself (ZIP names it); natively cpack makes it here.
# Which files the package holds is the install layout's check.
#   check-package.sh BUILD WORKDIR VERSION ARCH [ZIP]
set -euo pipefail
build=$1 work=$2 version=$3 arch=$4 zip=${5:-}
here=$(cd "$(dirname "$0")" && pwd)
fail() { echo "check-package: $*" >&2; exit 1; }
rm -rf "$work" && mkdir -p "$work"
name="Tavrel-$version-$arch"
if [ -z "$zip" ]; then
  cpack --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log" >&2; fail "cpack failed"; }
  zip=$work/$name.zip
fi
[ "$(basename "$zip")" = "$name.zip" ] || fail "the package is named $(basename "$zip"), not $name.zip"
[ -f "$zip" ] || fail "no $name.zip; made: $(cd "$(dirname "$zip")" && ls ./*.zip 2>/dev/null)"
/usr/bin/python3 - "$zip" "$work/unpacked" <<'PY'
import sys, zipfile
path, out = sys.argv[1:]
with zipfile.ZipFile(path) as z:
    files = [n for n in z.namelist() if not n.endswith("/")]
    outside = [n for n in files if not n.startswith("Plugins/Tavrel/")]
    if outside:
        sys.exit(f"check-package: entries outside Plugins/Tavrel/: {outside}")
    if "Plugins/Tavrel/Tavrel.cpg" not in files:
        sys.exit("check-package: no Plugins/Tavrel/Tavrel.cpg")
    z.extract("Plugins/Tavrel/Tavrel.cpg", out)
PY
module="$work/unpacked/Plugins/Tavrel/Tavrel.cpg"
tavrel_root=$(cd "$here/../.." && pwd)
source "$tavrel_root/scripts/lib/wine-env.sh"
case $arch in
  win32 | win64)
    held=$(tavrel_pe_arch "$module") || held="no PE image"
    [ "$held" = "$arch" ] || fail "$name.zip holds a $held module"
    ;;
  *) [ "$(head -c 4 "$module")" = $'\x7fELF' ] || fail "$name.zip holds no ELF module" ;;
esac
echo "check-package: $name.zip holds the $arch module"
