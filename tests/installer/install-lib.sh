# Sourced by the installer tests: running Windows programs under Wine in the
# prefix of one build, fake host folders, snapshots of them, and the stand-in
# host run on an installed module. The sourcing script sets:
#   arch      win32 or win64: the Wine prefix (and loader) to run in
#   work      its scratch folder
#   host_exe, scenario  the stand-in host and the scenario it runs
# and defines fail (report a failed check and go on).
root=${root:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
tavrel_root=$root
source "$root/scripts/lib/wine-env.sh"

win() { ( tavrel_wine_env "$arch"; "$(tavrel_wine_loader "$arch")" "$@" ); }
winpath() { local p=${1//\//\\}; echo "Z:$p"; }
# Runs a command line exactly as written, as Explorer, a shortcut or a
# management tool passes it: NSIS takes /D= and _?= only unquoted and last,
# which arguments with spaces never are. Returns its exit code.
win_line() {
  printf '@%s\r\n@exit /b %%ERRORLEVEL%%\r\n' "$1" >"$work/line.bat"
  win cmd /c "$(winpath "$work/line.bat")"
}

# The value NAME under the registry key KEY (with its root) in the view VIEW
# (/reg:32 or /reg:64, else the loader's own); fails when absent.
# When the query fails, what reg and Wine said goes to standard error, so a
# failed check's log tells an absent value from a program that did not run.
reg_key_value() {
  local out status
  out=$(win reg query "$1" /v "$2" ${3:+"$3"} 2>"$work/reg.err")
  status=$?
  if [ "$status" -ne 0 ]; then
    echo "reg query \"$1\" /v $2 ${3:-}: exit $status" >&2
    sed 's/^/  reg: /' "$work/reg.err" >&2
    return 1
  fi
  sed -n "s/^ *$2 *REG_[A-Z_]* *//p" <<<"${out//$'\r'/}" | head -n 1
}
key_exists() { win reg query "$1" ${2:+"$2"} >/dev/null 2>&1; }

# Runs the QuietUninstallString under KEY (VIEW as for reg_key_value) as a
# management tool does. The uninstaller hands over to a copy of itself and
# returns at once, so this waits until the copy has removed the uninstaller
# (its last file) from DIR and, when given, the folder GONE (the emptied
# folders go last).
quiet_uninstall_key() {
  local key=$1 view=$2 dir=$3 gone=${4:-} command
  command=$(reg_key_value "$key" QuietUninstallString "$view") || { fail "no QuietUninstallString in $key"; return 1; }
  win_line "$command" || { fail "the uninstaller failed to start"; return 1; }
  local i
  for ((i = 0; i < 300; i++)); do
    [ -e "$dir/Plugins/Tavrel/Uninstall.exe" ] || [ -n "$gone" -a -e "$gone" ] || return 0
    sleep 0.2
  done
  fail "the uninstaller did not finish within 60 s"
  return 1
}

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
  echo "$(basename "$0" .sh): $label took $((SECONDS - start)) s (exit $rc)"
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

# Checks that Plugins\Tavrel of HOST_DIR holds exactly the staged package
# STAGE and the files named after it (besides the settings file).
check_package_files() {
  local dir=$1/Plugins/Tavrel stage=$2 plugin_files have
  shift 2
  plugin_files=$(cd "$stage/Plugins/Tavrel" && ls | sort)
  have=$(cd "$dir" 2>/dev/null && ls | grep -vx TavrelSettings.xml | sort)
  [ "$have" = "$(printf '%s\n' "$plugin_files" "$@" | sort)" ] ||
    fail "Plugins/Tavrel holds: $(echo $have), expected the package $(echo "$@")"
  local f
  for f in $plugin_files; do
    cmp -s "$stage/Plugins/Tavrel/$f" "$dir/$f" || fail "the installed $f differs from the package's"
  done
}

# The stand-in host HOST_EXE (default $host_exe) loads the module installed
# in HOST_DIR, runs $scenario with the settings folder Plugins\Tavrel and
# must get both buttons with the installed bitmaps.
check_host_runs() {
  local host=$1 exe=${2:-$host_exe}
  win "$exe" --raw-paths --host-folder "$(winpath "$host")\\" --settings-folder "$(winpath "$host/Plugins/Tavrel")" \
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
print("the stand-in host put both buttons with the installed bitmaps")
PY
    fail "the stand-in host did not get both buttons from the module installed in $host"
  rm -f "$work/host.jsonl"
}
