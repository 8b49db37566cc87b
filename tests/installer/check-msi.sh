#!/usr/bin/env bash
# Deploys Tavrel with its Windows Installer package under Wine as a
# management tool does (msiexec, silent, per machine) into fake host folders
# that hold files of their own, and checks each step:
#   - without HOSTDIR the install fails and changes nothing;
#   - with HOSTDIR it lays out exactly the package in Plugins\Tavrel, leaves
#     the host's files byte-identical and writes the Add/Remove entry; the
#     stand-in host loads the installed module and gets both buttons;
#   - a package of a higher version replaces it (one entry, the new files)
#     and keeps the settings file; the older package then refuses to
#     downgrade and changes nothing;
#   - msiexec /x removes every installed file, the entry and the registered
#     host folder, keeps the settings file, and leaves a host that had no
#     Plugins folder exactly as it was.
#
#   check-msi.sh ARCH VERSION PUBLISHER MSI STAGE HOST_EXE SCENARIO WORK CMAKE
set -uo pipefail
arch=$1 version=$2 publisher=$3 msi=$4 stage=$5 host_exe=$6 scenario=$7 work=$8 cmake=$9
root=$(cd "$(dirname "$0")/../.." && pwd)

status=0
fail() { echo "check-msi: $*" >&2; status=1; }
die() { echo "check-msi: $*" >&2; exit 1; }
source "$root/tests/installer/install-lib.sh"

bits=32-bit
[ "$arch" = win64 ] && bits=64-bit
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
registered="HKLM\\Software\\Tavrel\\$arch"
product_code() { msiinfo export "$1" Property | tr -d '\r' | sed -n 's/^ProductCode\t//p'; }

# msiexec ARGS... with the command line exactly as written; the log of the
# run goes to $work/msiexec.log. Returns msiexec's exit code.
msiexec_line() {
  rm -f "$work/msiexec.log"
  win_line "msiexec $* /l*v \"$(winpath "$work/msiexec.log")\""
}
install_line() { echo "/i \"$(winpath "$1")\" /qn"; }
hostdir_arg() { echo "HOSTDIR=\"$(winpath "$1")\\\""; }

# Checks the Add/Remove entry of product CODE: of VERSION, installed in HOST.
check_entry() {
  local code=$1 want_version=$2 host=$3 pair name value
  local expect=("DisplayName=Tavrel ($bits)" "DisplayVersion=$want_version" "Publisher=$publisher"
    "WindowsInstaller=0x1" "UninstallString=MsiExec.exe /X$code"
    "InstallLocation=$(winpath "$host")\\Plugins\\Tavrel\\")
  for pair in "${expect[@]}"; do
    name=${pair%%=*}
    value=$(reg_key_value "$uninstall\\$code" "$name") || { fail "the entry $code has no $name"; continue; }
    [ "$value" = "${pair#*=}" ] || fail "entry $code: $name is '$value', expected '${pair#*=}'"
  done
}

# Nothing of ours in the registry: no entry of CODES, no registered folder.
check_unregistered() {
  local code
  for code in "$@"; do
    key_exists "$uninstall\\$code" && fail "the Add/Remove entry $code is there"
  done
  key_exists "$registered" && fail "$registered is there"
  key_exists 'HKLM\Software\Tavrel' && fail 'HKLM\Software\Tavrel is there'
}

# The package of the next patch version, made from the same staged files.
next_version() {
  local major minor patch
  IFS=. read -r major minor patch <<<"$1"
  echo "$major.$minor.$((patch + 1))"
}

rm -rf "$work" && mkdir -p "$work"
next=$(next_version "$version")
next_msi="$work/Tavrel-$next-$arch.msi"
"$cmake" -DWIXL="$(command -v wixl)" -DPYTHON=/usr/bin/python3 -DSTAGE="$stage" -DARCH="$arch" \
  -DPUBLISHER="$publisher" -DWORK="$work/msi-next" -DVERSION="$next" -DOUT="$next_msi" \
  -P "$root/installer/msi.cmake" >/dev/null || die "could not make the package of version $next"
code=$(product_code "$msi")
next_code=$(product_code "$next_msi")
[ -n "$code" ] && [ -n "$next_code" ] && [ "$code" != "$next_code" ] ||
  fail "the product codes '$code' and '$next_code' must be there and differ between versions"
drive_c="$(tavrel_wine_prefix "$arch")/drive_c"
# Leftovers of an earlier run that failed half-way.
win msiexec /x "$code" /qn >/dev/null 2>&1
win msiexec /x "$next_code" /qn >/dev/null 2>&1
check_unregistered "$code" "$next_code"

# --- without HOSTDIR the install fails, says why and changes nothing ------
# Windows shows or logs the launch condition's message; Wine's msiexec does
# neither, and the log names the reason as the property TAVREL_REFUSED.
host="$work/Host App"
make_host "$host" with-plugins
snapshot "$host" >"$work/host-before.txt"
ls "$drive_c" >"$work/drive-before.txt"
msiexec_line "$(install_line "$msi")"
rc=$?
[ "$rc" != 0 ] || fail "an install without HOSTDIR succeeded"
# The log is read into a file before it is searched: grep -q stops at the
# first match, and a writer still feeding it through a pipe (tr writes 4 KiB
# at a time) then dies of SIGPIPE, which pipefail makes a failed check.
tr -d '\0' <"$work/msiexec.log" >"$work/msiexec.txt"
if ! grep -aq '^Property(S): TAVREL_REFUSED = .*HOSTDIR=C:\\Host\\' "$work/msiexec.txt"; then
  fail "the log of an install without HOSTDIR does not say that HOSTDIR is needed (exit $rc; the log's end:)"
  tail -n 15 "$work/msiexec.txt" | sed 's/^/  | /' >&2
fi
snapshot "$host" | diff -u "$work/host-before.txt" - || fail "an install without HOSTDIR changed the host folder"
ls "$drive_c" | diff -u "$work/drive-before.txt" - || fail "an install without HOSTDIR wrote into C:"
check_unregistered "$code"

# --- install with HOSTDIR ---------------------------------------------------
timed "install" msiexec_line "$(install_line "$msi") $(hostdir_arg "$host")" || fail "the install failed"
check_package_files "$host" "$stage"
snapshot "$host" outside | diff -u "$work/host-before.txt" - || fail "the install changed the host's own files"
check_entry "$code" "$version" "$host"
[ "$(reg_key_value "$registered" HostFolder)" = "$(winpath "$host")\\" ] ||
  fail "$registered names '$(reg_key_value "$registered" HostFolder)' as the host folder"
check_host_runs "$host"
settings="$host/Plugins/Tavrel/TavrelSettings.xml"
[ -f "$settings" ] || fail "activation wrote no settings file"
settings_sum=$(sha256sum <"$settings")

# --- a higher version replaces it and keeps the settings -------------------
timed "upgrade" msiexec_line "$(install_line "$next_msi") $(hostdir_arg "$host")" || fail "the upgrade failed"
key_exists "$uninstall\\$code" && fail "the upgrade left the entry of version $version"
check_entry "$next_code" "$next" "$host"
check_package_files "$host" "$stage"
[ "$(sha256sum <"$settings" 2>/dev/null)" = "$settings_sum" ] || fail "the upgrade changed or removed the settings file"
snapshot "$host" outside | diff -u "$work/host-before.txt" - || fail "the upgrade changed the host's own files"
check_host_runs "$host"
settings_sum=$(sha256sum <"$settings")

# --- the older package refuses to downgrade ---------------------------------
snapshot "$host" >"$work/upgraded.txt"
msiexec_line "$(install_line "$msi") $(hostdir_arg "$host")"
rc=$?
[ "$rc" != 0 ] || fail "the older package installed over the newer one"
snapshot "$host" | diff -u "$work/upgraded.txt" - || fail "the refused downgrade changed the host folder"
key_exists "$uninstall\\$code" && fail "the refused downgrade registered version $version"
check_entry "$next_code" "$next" "$host"

# --- msiexec /x removes exactly what it installed --------------------------
timed "uninstall" msiexec_line "/x \"$(winpath "$next_msi")\" /qn" || fail "the uninstall failed"
remaining=$(cd "$host/Plugins/Tavrel" 2>/dev/null && ls)
[ "$remaining" = TavrelSettings.xml ] || fail "after the uninstall Plugins/Tavrel holds '$remaining', expected only the settings"
[ "$(sha256sum <"$settings" 2>/dev/null)" = "$settings_sum" ] || fail "the uninstall changed or removed the settings file"
snapshot "$host" outside | diff -u "$work/host-before.txt" - || fail "the uninstall changed the host's own files"
check_unregistered "$code" "$next_code"

# --- a host without a Plugins folder is left exactly as it was -------------
host2="$work/Host2"
make_host "$host2"
snapshot "$host2" >"$work/host2-before.txt"
msiexec_line "$(install_line "$msi") $(hostdir_arg "$host2")" || fail "the install into $host2 failed"
check_package_files "$host2" "$stage"
# Removed by product code, as management tools do, without the package.
msiexec_line "/x $code /qn" || fail "the uninstall by product code failed"
snapshot "$host2" | diff -u "$work/host2-before.txt" - || fail "the host folder is not as before the install"
check_unregistered "$code"

[ "$status" = 0 ] && echo "check-msi: install, upgrade, refusals and uninstall as expected"
exit "$status"
