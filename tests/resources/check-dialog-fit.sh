#!/usr/bin/env bash
# The settings dialog's texts fit their controls in every language shipped
# (resources/po/LINGUAS, and English) at each DPI given (default 96): under
# Wine, in a prefix of its own of the build's bitness with the fonts a user's Wine has
# (Wine's own, and the system's CJK fonts through fontconfig), each
# language's session (LANG) measures its dialog with dialog-fit. The prefix is
# made for the run and removed after it: a 64-bit one takes 1.3 GB.
#   check-dialog-fit.sh win32|win64 PREFIX DIALOG-FIT MODULE LINGUAS [DPI...]
set -uo pipefail
arch=$1 prefix=$(realpath -m "$2") tool=$3 module=$(realpath "$4") linguas=$5
shift 5
dpis=("${@:-96}")
root=$(cd "$(dirname "$0")/../.." && pwd)
tavrel_root=$root
source "$root/scripts/lib/wine-env.sh"
source "$root/scripts/lib/xvfb.sh"
wine_in_prefix() {
  WINEPREFIX=$prefix WINEARCH=$arch WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
    "$(tavrel_wine_loader "$arch")" "$@"
}
tavrel_start_xvfb || exit 1
rm -rf "$prefix"
trap 'WINEPREFIX=$prefix wineserver -k 2>/dev/null; WINEPREFIX=$prefix wineserver -w; rm -rf "$prefix"
  kill "$TAVREL_XVFB_PID" 2>/dev/null' EXIT
tavrel_font_prefix "$prefix" "$arch" || exit 1

spell() { printf 'Z:%s' "${1//\//\\}"; }
failed=0
measured=0
for dpi in "${dpis[@]}"; do
  wine_in_prefix reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  WINEPREFIX=$prefix wineserver -w
  for locale in C $(grep -v '^#' "$linguas"); do
    [ "$locale" = C ] || locale=$locale.UTF-8
    out=$(unset LC_ALL LC_MESSAGES; LANG=$locale wine_in_prefix "$tool" "$(spell "$module")")
    status=$?
    measured=$((measured + 1))
    if [ "$status" -ne 0 ]; then
      failed=$((failed + 1))
      echo "dialog-fit: LANG=$locale at $dpi DPI:"
      grep -v '"fits":true' <<<"$out"
      [ "$status" -eq 2 ] && echo "  (not measured)"
    fi
    # The DPI asked for is the DPI measured at.
    grep -q "\"dpi\":$dpi," <<<"$out" || { echo "dialog-fit: LANG=$locale measured not at $dpi DPI"; failed=$((failed + 1)); }
  done
done
echo "dialog-fit: $((measured - failed)) of $measured dialogs fit (${dpis[*]} DPI)"
[ "$failed" -eq 0 ]
