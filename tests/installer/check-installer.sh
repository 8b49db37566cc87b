#!/usr/bin/env bash
# Installs, upgrades and removes Tavrel with its setup program under Wine, as
# a user or an administrator would, in fake host folders that hold files of
# their own, and checks each step:
#   - a silent install lays out exactly the package in Plugins\Tavrel, leaves
#     the host's files byte-identical and writes the Add/Remove entry;
#   - the stand-in host loads the installed module, gets both buttons and
#     sends a drawing to an embroidery application installed beside it
#     (tavrel-embroidery --install), which receives a well-formed metafile;
#   - the shipped xmlprofile edits the settings file; an upgrade keeps it;
#   - while the module is loaded, install and uninstall refuse and change
#     nothing;
#   - the entry's QuietUninstallString removes every installed file and the
#     entry, and leaves the host's files and the settings file;
#   - /CurrentUser registers per user; a Plugins folder made by the install
#     goes with the uninstall; /D= quoted as one argument is taken; a folder
#     that does not exist, the programs folder itself and a silent run
#     without /D= are refused, each saying why on standard error and in the
#     log that /? names; the 64-bit package refuses a 32-bit Windows.
#
#   check-installer.sh ARCH VERSION PUBLISHER SETUP STAGE HOST_EXE HOLD_EXE SCENARIO WORK STANDIN_EXE
set -uo pipefail
arch=$1 version=$2 publisher=$3 setup=$4 stage=$5 host_exe=$6 hold_exe=$7 scenario=$8 work=$9 standin_exe=${10}
root=$(cd "$(dirname "$0")/../.." && pwd)

status=0
fail() { echo "check-installer: $*" >&2; status=1; }
die() { echo "check-installer: $*" >&2; exit 1; }

# The setup program is a 32-bit program either way; it runs in the prefix of
# the Windows its package is made for.
source "$root/tests/installer/install-lib.sh"
setup_line() { echo "\"$(winpath "$setup")\" /S $* /D=$(winpath "$host_dir")"; }
bits=32-bit
[ "$arch" = win64 ] && bits=64-bit
key='Software\Microsoft\Windows\CurrentVersion\Uninstall\Tavrel-'$arch

# The value NAME of the entry under ROOT (HKLM or HKCU); fails when absent.
reg_value() { reg_key_value "$1\\$key" "$2"; }
entry_exists() { key_exists "$1\\$key"; }

check_layout() { check_package_files "$1" "$stage" Uninstall.exe; }

check_entry() {
  local hive=$1 uninstaller
  uninstaller=$(winpath "$2/Plugins/Tavrel/Uninstall.exe")
  local expect=("DisplayName=Tavrel ($bits)" "DisplayVersion=$version" "Publisher=$publisher"
    "UninstallString=\"$uninstaller\"" "QuietUninstallString=\"$uninstaller\" /S")
  local pair name value
  for pair in "${expect[@]}"; do
    name=${pair%%=*}
    value=$(reg_value "$hive" "$name") || { fail "the $hive entry has no $name"; continue; }
    [ "$value" = "${pair#*=}" ] || fail "$hive entry: $name is '$value', expected '${pair#*=}'"
  done
}

quiet_uninstall() { quiet_uninstall_key "$1\\$key" "" "${@:2}"; }

# --- install into a host that has a Plugins folder of its own -------------
host="$work/Host App"
rm -rf "$work" && mkdir -p "$work"
make_host "$host" with-plugins
snapshot "$host" >"$work/host-before.txt"
host_dir=$host
timed "silent install" win_line "$(setup_line)" || die "the silent install failed"
check_layout "$host"
snapshot "$host" outside | diff -u "$work/host-before.txt" - || fail "the install changed the host's own files"
hive=HKLM  # Wine runs programs as an administrator: the entry is for all users
entry_exists HKLM || { hive=HKCU; fail "no entry for all users although run as an administrator"; }
check_entry "$hive" "$host"

# --- the stand-in host loads the installed module --------------------------
win "$standin_exe" --install "$(winpath "$work/apps")" 1 >/dev/null || fail "the stand-in could not install application 1"
TAVREL_EMBROIDERY_RECEIPT=$(winpath "$work/receipt.json") check_host_runs "$host"
for ((i = 0; i < 300; i++)); do [ -s "$work/receipt.json" ] && break; sleep 0.2; done
win "$standin_exe" --uninstall 1 >/dev/null
/usr/bin/python3 -c 'import json, sys; sys.exit(0 if json.load(open(sys.argv[1]))["wellFormed"] else 1)' \
  "$work/receipt.json" 2>/dev/null ||
  fail "the installed module sent no well-formed metafile to the application: $(cat "$work/receipt.json" 2>&1)"

# --- the shipped xmlprofile edits the settings file the module wrote -------
settings="$host/Plugins/Tavrel/TavrelSettings.xml"
[ -f "$settings" ] || fail "activation wrote no settings file"
win "$host/Plugins/Tavrel/xmlprofile.exe" set "$(winpath "$settings")" General EmbAppType 3 >/dev/null ||
  fail "the installed xmlprofile could not set a value"
got=$(win "$host/Plugins/Tavrel/xmlprofile.exe" get "$(winpath "$settings")" General EmbAppType | tr -d '\r')
grep -q '3' <<<"$got" || fail "the installed xmlprofile read back '$got'"
settings_sum=$(sha256sum <"$settings")

# --- upgrade over an earlier version ---------------------------------------
win reg add "$hive\\$key" /v DisplayVersion /d 0.9.0 /f >/dev/null
timed "upgrade" win_line "$(setup_line)" || fail "the upgrade failed"
[ "$(sha256sum <"$settings")" = "$settings_sum" ] || fail "the upgrade changed the settings file"
[ "$(reg_value "$hive" DisplayVersion)" = "$version" ] || fail "the upgrade left DisplayVersion old"
check_layout "$host"
snapshot "$host" outside | diff -u "$work/host-before.txt" - || fail "the upgrade changed the host's own files"

# --- while the host has the module loaded, nothing changes -----------------
flag="$work/held.flag"
win "$hold_exe" "$(winpath "$host/Plugins/Tavrel/Tavrel.cpg")" "$(winpath "$flag")" &
holder=$!
for ((i = 0; i < 150; i++)); do [ -e "$flag" ] && break; sleep 0.2; done
if [ -e "$flag" ]; then
  win reg add "$hive\\$key" /v DisplayVersion /d 0.9.0 /f >/dev/null
  snapshot "$host" >"$work/held-before.txt"
  win_line "$(setup_line)"
  rc=$?
  [ "$rc" = 2 ] || fail "an install over the loaded module ended with $rc, expected the refusal 2"
  # In place (_?=) the uninstaller runs synchronously and reports its exit code.
  win_line "\"$(winpath "$host/Plugins/Tavrel/Uninstall.exe")\" /S _?=$(winpath "$host/Plugins/Tavrel")"
  rc=$?
  [ "$rc" = 2 ] || fail "an uninstall of the loaded module ended with $rc, expected the refusal 2"
  snapshot "$host" | diff -u "$work/held-before.txt" - || fail "a refused run changed files"
  [ "$(reg_value "$hive" DisplayVersion)" = 0.9.0 ] || fail "a refused run changed the entry"
else
  fail "hold-module did not load the installed module"
fi
rm -f "$flag"
wait "$holder"

# --- silent uninstall as the entry says ------------------------------------
timed "silent uninstall" quiet_uninstall "$hive" "$host"
remaining=$(cd "$host/Plugins/Tavrel" 2>/dev/null && ls)
[ "$remaining" = TavrelSettings.xml ] || fail "after the uninstall Plugins/Tavrel holds '$remaining', expected only the settings"
[ "$(sha256sum <"$settings")" = "$settings_sum" ] || fail "the uninstall changed the settings file"
snapshot "$host" outside | diff -u "$work/host-before.txt" - || fail "the uninstall changed the host's own files"
entry_exists HKLM && fail "the uninstall left the HKLM entry"
entry_exists HKCU && fail "the uninstall left an HKCU entry"

# --- per user, into a host without a Plugins folder ------------------------
host2="$work/Host2"
make_host "$host2"
snapshot "$host2" >"$work/host2-before.txt"
host_dir=$host2
win_line "$(setup_line /CurrentUser)" || fail "the /CurrentUser install failed"
check_layout "$host2"
entry_exists HKLM && fail "/CurrentUser wrote an entry for all users"
check_entry HKCU "$host2"
quiet_uninstall HKCU "$host2" "$host2/Plugins"
snapshot "$host2" | diff -u "$work/host2-before.txt" - || fail "the host folder is not as before the install"
entry_exists HKCU && fail "the uninstall left the HKCU entry"
# Per user, then again with the rights to register for all users: listed
# once, for all users, and the Plugins folder the first install made still
# goes with the uninstall.
win_line "$(setup_line /CurrentUser)" && win_line "$(setup_line)" || fail "the install over a per-user one failed"
entry_exists HKCU && fail "the per-user entry stayed beside the one for all users"
check_entry HKLM "$host2"
quiet_uninstall HKLM "$host2" "$host2/Plugins"
snapshot "$host2" | diff -u "$work/host2-before.txt" - || fail "the host folder is not as before the installs"
entry_exists HKLM && fail "the uninstall left the HKLM entry"

# --- /D= as one argument, quoted as Wine and PowerShell pass it ------------
host3="$work/Quoted Host"
make_host "$host3"
win "$setup" /S "/D=$(winpath "$host3")" || fail "an install with a quoted /D= failed"
check_layout "$host3"
quiet_uninstall "$hive" "$host3" "$host3/Plugins"

# --- refusals before anything is written, each saying why -----------------
# The log /? names, in the prefix's own folders.
log=$(win "$setup" /S /? | tr -d '\r' | sed -n 's/^\(.:\\.*Tavrel-setup\.log\)\.$/\1/p')
[ -n "$log" ] || fail "/? names no log file"
log=$(win winepath -u "$log" 2>/dev/null)
rm -f "$log"
# refused REASON COMMAND...: runs the command, which must refuse with exit
# code 2 and give a reason matching REASON on standard error and in the log.
refused() {
  local reason=$1 rc
  shift
  "$@" 2>"$work/refused.txt"
  rc=$?
  [ "$rc" = 2 ] || fail "'${*: -1}' ended with $rc, expected the refusal 2"
  grep -q "$reason" "$work/refused.txt" || fail "'${*: -1}' gave no reason '$reason' on standard error"
  tail -n 1 "$log" 2>/dev/null | grep -q "$reason" || fail "'${*: -1}' left no reason '$reason' in $log"
}
host_dir="$work/No Such Host"
refused "No Such Host is no host application's folder" win_line "$(setup_line)"
[ -e "$work/No Such Host" ] && fail "an install into a missing folder created it"
refused "is no host application's folder" win_line "\"$(winpath "$setup")\" /S /D=C:\\Program Files"
# Without a folder a silent run must not pick one itself.
refused "Give the host application's program folder with /D=FOLDER" win "$setup" /S
entry_exists HKLM && fail "a refused install wrote an entry"
if [ "$arch" = win64 ]; then
  make_host "$work/Host32"
  ( arch=win32; host_dir="$work/Host32"; win_line "$(setup_line)" )
  rc=$?
  [ "$rc" = 2 ] || fail "the 64-bit package on a 32-bit Windows ended with $rc, expected the refusal 2"
  [ -e "$work/Host32/Plugins" ] && fail "the 64-bit package installed on a 32-bit Windows"
fi

[ "$status" = 0 ] && echo "check-installer: install, upgrade, refusals and uninstall as expected"
exit "$status"
