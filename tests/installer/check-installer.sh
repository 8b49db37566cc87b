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
#     goes with the uninstall; a folder that does not exist, the programs
#     folder itself, a quoted /D= and a silent run without /D= are refused;
#     the 64-bit package refuses a 32-bit Windows.
#
#   check-installer.sh ARCH VERSION PUBLISHER SETUP STAGE HOST_EXE HOLD_EXE SCENARIO WORK STANDIN_EXE
set -uo pipefail
arch=$1 version=$2 publisher=$3 setup=$4 stage=$5 host_exe=$6 hold_exe=$7 scenario=$8 work=$9 standin_exe=${10}
root=$(cd "$(dirname "$0")/../.." && pwd)
tavrel_root=$root
source "$root/scripts/lib/wine-env.sh"

status=0
fail() { echo "check-installer: $*" >&2; status=1; }
die() { echo "check-installer: $*" >&2; exit 1; }

# The setup program is a 32-bit program either way; it runs in the prefix of
# the Windows its package is made for.
win() { ( tavrel_wine_env "$arch"; "$(tavrel_wine_loader "$arch")" "$@" ); }
winpath() { local p=${1//\//\\}; echo "Z:$p"; }
# Runs a command line exactly as written, as Explorer, a shortcut or a
# management tool passes it: NSIS takes /D= and _?= only unquoted and last,
# which arguments with spaces never are. Returns its exit code.
win_line() {
  printf '@%s\r\n@exit /b %%ERRORLEVEL%%\r\n' "$1" >"$work/line.bat"
  win cmd /c "$(winpath "$work/line.bat")"
}
setup_line() { echo "\"$(winpath "$setup")\" /S $* /D=$(winpath "$host_dir")"; }
bits=32-bit
[ "$arch" = win64 ] && bits=64-bit
key='Software\Microsoft\Windows\CurrentVersion\Uninstall\Tavrel-'$arch
plugin_files=$(cd "$stage/Plugins/Tavrel" && ls | sort)

# The value NAME of the entry under ROOT (HKLM or HKCU); fails when absent.
reg_value() {
  local out
  out=$(win reg query "$1\\$key" /v "$2" 2>/dev/null | tr -d '\r') || return 1
  sed -n "s/^ *$2 *REG_[A-Z_]* *//p" <<<"$out" | head -n 1
}
entry_exists() { win reg query "$1\\$key" >/dev/null 2>&1; }

# Every file below DIR with its checksum, and every folder; Plugins\Tavrel
# is left out with "outside".
snapshot() {
  local dir=$1 prune=()
  [ "${2:-}" = outside ] && prune=(-path ./Plugins/Tavrel -prune -o)
  (cd "$dir" && find . "${prune[@]}" -type d -print | sort &&
    find . "${prune[@]}" -type f -print0 | sort -z | xargs -0 -r sha256sum)
}

timed() {
  local label=$1 start=$SECONDS
  shift
  "$@"
  local rc=$?
  echo "check-installer: $label took $((SECONDS - start)) s (exit $rc)"
  return $rc
}

# A host folder with a program, a library, another plug-in and files whose
# names an installer could well use itself.
make_host() {
  local dir=$1
  rm -rf "$dir" && mkdir -p "$dir"
  printf 'MZ the host program' >"$dir/Host.exe"
  printf 'the host library' >"$dir/HostCore.dll"
  printf 'the host read-me' >"$dir/ReadMe.txt"
  printf 'the host uninstaller' >"$dir/Uninstall.exe"
  if [ "${2:-}" = with-plugins ]; then
    mkdir -p "$dir/Plugins/Other"
    printf 'another plug-in' >"$dir/Plugins/Other/Other.cpg"
  fi
}

check_layout() {
  local dir=$1/Plugins/Tavrel
  local have
  have=$(cd "$dir" 2>/dev/null && ls | grep -vx TavrelSettings.xml | sort)
  [ "$have" = "$(printf '%s\nUninstall.exe' "$plugin_files" | sort)" ] ||
    fail "Plugins/Tavrel holds: $(echo $have), expected the package and Uninstall.exe"
  local f
  for f in $plugin_files; do
    cmp -s "$stage/Plugins/Tavrel/$f" "$dir/$f" || fail "the installed $f differs from the package's"
  done
}

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

# Runs the entry's QuietUninstallString as a management tool does. The
# uninstaller hands over to a copy of itself and returns at once, so this
# waits until the copy has removed the uninstaller (its last file) and, when
# given, the folder GONE (the emptied folders go last).
quiet_uninstall() {
  local hive=$1 dir=$2 gone=${3:-} command
  command=$(reg_value "$hive" QuietUninstallString) || { fail "no QuietUninstallString in $hive"; return 1; }
  win_line "$command" || { fail "the uninstaller failed to start"; return 1; }
  local i
  for ((i = 0; i < 300; i++)); do
    [ -e "$dir/Plugins/Tavrel/Uninstall.exe" ] || [ -n "$gone" -a -e "$gone" ] || return 0
    sleep 0.2
  done
  fail "the uninstaller did not finish within 60 s"
  return 1
}

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
TAVREL_EMBROIDERY_RECEIPT=$(winpath "$work/receipt.json") win "$host_exe" --raw-paths --host-folder "$(winpath "$host")\\" --settings-folder "$(winpath "$host/Plugins/Tavrel")" \
  --state-dir "$(winpath "$work/state")" --log "$(winpath "$work/host.jsonl")" "$(winpath "$scenario")" \
  2>"$work/host-stderr.txt"
/usr/bin/python3 - "$work/host.jsonl" "$(winpath "$host")\\Plugins\\Tavrel\\" <<'PY' ||
import json, sys
calls = [json.loads(line) for line in open(sys.argv[1], encoding="utf-8")]
icons = sorted(c["args"][0] for c in calls if c.get("op") == "Control.SetIconFromFile" and c["hr"] == "0x00000000")
buttons = [c for c in calls if c.get("op") == "Controls.AddCommandButton" and c["hr"] == "0x00000000"]
want = [sys.argv[2] + "Tavrel.bmp", sys.argv[2] + "TavrelSettings.bmp"]
if icons != want or len(buttons) != 2:
    sys.exit(f"buttons {len(buttons)}, icons {icons}, expected {want}")
print("check-installer: the stand-in host put both buttons with the installed bitmaps")
PY
  fail "the stand-in host did not get both buttons from the installed module"
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

# --- refusals before anything is written -----------------------------------
host_dir="$work/No Such Host"
win_line "$(setup_line)"
rc=$?
[ "$rc" = 2 ] || fail "an install into a missing folder ended with $rc, expected the refusal 2"
[ -e "$work/No Such Host" ] && fail "an install into a missing folder created it"
win_line "\"$(winpath "$setup")\" /S /D=C:\\Program Files"
rc=$?
[ "$rc" = 2 ] || fail "an install into the programs folder itself ended with $rc, expected the refusal 2"
# A quoted /D= (what passing the folder as one argument gives) is not taken
# by NSIS; without a folder a silent run must not pick one itself.
make_host "$work/Quoted Host"
win "$setup" /S "/D=$(winpath "$work/Quoted Host")"
rc=$?
[ "$rc" = 2 ] || fail "an install with a quoted /D= ended with $rc, expected the refusal 2"
win "$setup" /S
rc=$?
[ "$rc" = 2 ] || fail "a silent install without /D= ended with $rc, expected the refusal 2"
[ -e "$work/Quoted Host/Plugins" ] && fail "an install with a quoted /D= installed there"
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
