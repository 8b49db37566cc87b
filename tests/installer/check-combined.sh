#!/usr/bin/env bash
# Installs Tavrel with the installer for both kinds of host under Wine into
# fake host folders and checks that it picks the module by the bitness of
# the programs directly in the folder:
#   - a folder with a 32-bit program gets the win32 package, one with a
#     64-bit program the win64 package (a program in a subfolder does not
#     count), each registered as its own installer registers it; the host
#     program there loads the installed module and gets both buttons; the
#     entry's uninstaller removes it again;
#   - silently, a folder with no program or with programs of both bitnesses
#     is refused with exit code 2 and nothing changed, unless /ARCH= names
#     the build; a wrong /ARCH= is refused; with its pages it asks, and the
#     answer decides;
#   - on a 32-bit Windows a 64-bit host is refused.
#
#   check-combined.sh SETUP STAGE32 STAGE64 HOST32_EXE HOST64_EXE SCENARIO WORK
set -uo pipefail
read -r setup stage32 stage64 host32_exe host64_exe scenario work < <(realpath -m -- "$@" | tr '\n' ' ')
root=$(cd "$(dirname "$0")/../.." && pwd)

status=0
fail() { echo "check-combined: $*" >&2; status=1; }
die() { echo "check-combined: $*" >&2; exit 1; }
# A 64-bit Windows runs hosts of both bitnesses.
arch=win64
source "$root/tests/installer/install-lib.sh"
[ -f "$setup" ] || die "no installer $setup"

setup_line() { echo "\"$(winpath "$setup")\" /S $1 /D=$(winpath "$2")"; }
entry() { echo "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tavrel-$1"; }
view() { [ "$1" = win64 ] && echo /reg:64 || echo /reg:32; }
no_entries() {
  local a
  for a in win32 win64; do
    key_exists "$(entry $a)" "$(view $a)" && fail "$1: there is an entry Tavrel-$a"
  done
}

# A host folder holding the stand-in host programs given as NAME=EXE.
make_host_with() {
  local dir=$1 pair
  shift
  make_host "$dir"
  for pair in "$@"; do
    mkdir -p "$(dirname "$dir/${pair%%=*}")" && cp "${pair#*=}" "$dir/${pair%%=*}"
  done
}

# Installs silently with OPTIONS into DIR, expects the package of ARCH, runs
# the host program HOST on it, then uninstalls as the entry says. What the
# host wrote (the settings file) is removed afterwards.
install_case() {
  local label=$1 dir=$2 want=$3 options=$4 host=$5 stage other=win32 bits=64-bit
  stage=$stage64
  [ "$want" = win32 ] && { stage=$stage32 other=win64 bits=32-bit; }
  snapshot "$dir" >"$work/before.txt"
  timed "$label: install" win_line "$(setup_line "$options" "$dir")" || { fail "$label: the install failed"; return; }
  check_package_files "$dir" "$stage" Uninstall.exe
  # The Plugins folder may be new; everything else must be as it was.
  snapshot "$dir" outside | grep -vx ./Plugins | diff -u <(grep -vx ./Plugins "$work/before.txt") - ||
    fail "$label: the install changed the host's own files"
  local name
  name=$(reg_key_value "$(entry "$want")" DisplayName "$(view "$want")") || fail "$label: no entry Tavrel-$want"
  [ "$name" = "Tavrel ($bits)" ] || fail "$label: the entry's DisplayName is '$name'"
  key_exists "$(entry $other)" "$(view $other)" && fail "$label: there is an entry Tavrel-$other too"
  check_host_runs "$dir" "$host"
  quiet_uninstall_key "$(entry "$want")" "$(view "$want")" "$dir"
  local remaining
  remaining=$(cd "$dir/Plugins/Tavrel" 2>/dev/null && ls)
  [ "$remaining" = TavrelSettings.xml ] || fail "$label: after the uninstall Plugins/Tavrel holds '$remaining'"
  rm -f "$dir/Plugins/Tavrel/TavrelSettings.xml"
  rmdir "$dir/Plugins/Tavrel" "$dir/Plugins" 2>/dev/null
  snapshot "$dir" | diff -u "$work/before.txt" - || fail "$label: the folder is not as before the install"
  no_entries "$label: after the uninstall"
}

# A silent run with OPTIONS into DIR must end with the refusal 2 and change
# nothing.
refuse_case() {
  local label=$1 dir=$2 options=$3 rc
  snapshot "$dir" >"$work/before.txt"
  win_line "$(setup_line "$options" "$dir")"
  rc=$?
  [ "$rc" = 2 ] || fail "$label: ended with $rc, expected the refusal 2"
  snapshot "$dir" | diff -u "$work/before.txt" - || fail "$label: a refused run changed the folder"
  no_entries "$label"
}

# Waits up to 60 s for a window whose title matches PATTERN.
wait_window() {
  timeout 60 xdotool search --sync --name "$2" >/dev/null || { fail "$1: no window '$2'"; return 1; }
}

# Presses KEYS until a window whose title matches PATTERN is there (up to
# 60 s): a key sent while a new page still takes its focus is lost.
press_until() {
  local label=$1 keys=$2 pattern=$3 i
  for ((i = 0; i < 60; i++)); do
    xdotool key "$keys"
    timeout 1 xdotool search --sync --name "$pattern" >/dev/null && return 0
  done
  fail "$label: no window '$pattern'"
  return 1
}

# Runs the installer with its pages into DIR (whose programs do not tell),
# agrees to the licence, goes on from the folder page, answers the question
# with KEY (y or n) and closes the last page; the package of ARCH must be installed. Each window
# is waited for by its title.
ask_case() {
  local label=$1 dir=$2 key=$3 want=$4 stage=$stage64 name setup_pid rc
  [ "$want" = win32 ] && stage=$stage32
  name="Tavrel $(basename "$setup" | sed 's/^Tavrel-\(.*\)-setup.exe$/\1/') Setup"
  win_line "\"$(winpath "$setup")\" /D=$(winpath "$dir")" &
  setup_pid=$!
  if wait_window "$label" "^$name: License Agreement\$" &&
    press_until "$label" alt+a "^$name: Installation Folder\$" && xdotool key Return &&
    wait_window "$label" "^$name\$" && xdotool key "$key" &&
    wait_window "$label" "^$name: Completed\$" && xdotool key Return; then
    wait "$setup_pid"
    rc=$?
    [ "$rc" = 0 ] || fail "$label: the installer ended with $rc"
  else
    # A window that never came: end the installer, and with it the test.
    (tavrel_wine_env "$arch" && wineserver -k)
    wait "$setup_pid"
    return
  fi
  cmp -s "$stage/Plugins/Tavrel/Tavrel.cpg" "$dir/Plugins/Tavrel/Tavrel.cpg" ||
    fail "$label: the module installed is not the $want one"
  quiet_uninstall_key "$(entry "$want")" "$(view "$want")" "$dir"
  no_entries "$label: after the uninstall"
}

rm -rf "$work" && mkdir -p "$work"
no_entries "before the test"

host32="$work/Host 32"
make_host_with "$host32" Draw.exe="$host32_exe" Tools/Helper.exe="$host64_exe"
install_case "32-bit host" "$host32" win32 "" "$host32/Draw.exe"

host64="$work/Host 64"
make_host_with "$host64" Draw.exe="$host64_exe"
install_case "64-bit host" "$host64" win64 "" "$host64/Draw.exe"

empty="$work/Empty"
rm -rf "$empty" && mkdir -p "$empty"
refuse_case "a folder without programs" "$empty" ""
install_case "/ARCH=win32 in a folder without programs" "$empty" win32 /ARCH=win32 "$host32_exe"

both="$work/Both"
make_host_with "$both" Draw32.exe="$host32_exe" Draw64.exe="$host64_exe"
refuse_case "a folder with programs of both bitnesses" "$both" ""
refuse_case "/ARCH=arm64" "$both" /ARCH=arm64
install_case "/ARCH=win64 in a folder with both" "$both" win64 /ARCH=win64 "$both/Draw64.exe"
ask_case "asked in a folder with both, answered No" "$both" n win32

# The 64-bit host on a 32-bit Windows.
(
  arch=win32
  refuse_case "a 64-bit host on a 32-bit Windows" "$host64" ""
  exit "$status"
)
[ $? = 0 ] || status=1

[ "$status" = 0 ] && echo "check-combined: each host got its module; refusals as expected"
exit "$status"
