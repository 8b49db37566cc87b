#!/usr/bin/env bash
# Installs the build into a fresh folder and checks the layout a user copies
# into the host's folder (the ZIP and the installer hold the same): the
# module, its bitmaps, xmlprofile and the texts, all in Plugins/Tavrel, and
# nothing else. The read-me has CRLF line endings, the version, and names
# exactly the files that are there.
#   check-install.sh BUILD PREFIX VERSION win32|posix
set -euo pipefail
build=$1 prefix=$2 version=$3 platform=$4
rm -rf "$prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
status=0
fail() { echo "check-install: $*" >&2; status=1; }
dir=Plugins/Tavrel
expected=(Tavrel.cpg Tavrel.bmp TavrelSettings.bmp ReadMe.txt)
if [ "$platform" = win32 ]; then expected+=(Notices.txt xmlprofile.exe); else expected+=(xmlprofile); fi
for file in "${expected[@]}"; do
  [ -s "$prefix/$dir/$file" ] || fail "$dir/$file missing"
done
for bmp in Tavrel TavrelSettings; do
  file "$prefix/$dir/$bmp.bmp" | grep -q '24' || fail "$bmp.bmp is not a 24-bit bitmap"
done
count=$(cd "$prefix" && find . -type f | wc -l)
[ "$count" = "${#expected[@]}" ] || fail "$count files installed, expected ${#expected[@]}"

for text in ReadMe.txt Notices.txt; do
  [ -f "$prefix/$dir/$text" ] || continue
  # Every line ends with CR LF: no LF without its CR.
  if grep -q -v $'\r$' "$prefix/$dir/$text"; then
    fail "$text has lines without CRLF"
  fi
  grep -q '@[A-Z_]*@' "$prefix/$dir/$text" && fail "$text has an unfilled placeholder"
done
readme="$prefix/$dir/ReadMe.txt"
grep -q "^Version $version"$'\r'"\$" "$readme" || fail "ReadMe.txt does not state version $version"
# The files the read-me's hand installation lists are the Windows package.
if [ "$platform" = win32 ]; then
  listed=$(tr -d '\r' <"$readme" | sed -n 's/^ *Plugins\\Tavrel\\\([^ ]*\)$/\1/p' | sort)
  [ "$listed" = "$(printf '%s\n' "${expected[@]}" | sort)" ] ||
    fail "ReadMe.txt lists '$(echo $listed)', the package holds '${expected[*]}'"
fi
[ "$status" = 0 ] && echo "check-install: layout as expected"
exit "$status"
