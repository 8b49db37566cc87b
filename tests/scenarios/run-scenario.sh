#!/usr/bin/env bash
# Runs a scenario through tavrel-host with the real module in a fresh work
# folder and compares the log with the expected one, which both builds must
# produce exactly. The scenario's comment lines ask for more:
# "# install: INDEX..." installs the embroidery stand-in as these
# applications in a fake installation folder and registers them under
# HKEY_CURRENT_USER (tavrel-embroidery --install: a .reg file natively, the
# Wine prefix's registry on Windows, where the applications' keys are
# cleared before and after every run); "# receipt: SWITCH..." asks for the stand-in's receipt with exactly
# these switches and a well-formed metafile; "# settings: A E O" for the
# settings file's three values afterwards ("# settings: none": no file).
# "# runs: N" runs the host N times with the same folders (the last run's
# log is compared). "# locale: LANG CATALOGUE" runs the scenario once more
# with LANG set (LC_ALL and LC_MESSAGES unset) and compares its log with the
# English one translated by resources/po/CATALOGUE.po, or with the English
# one exactly for "en". The English run itself has LC_MESSAGES=C.
# Metafiles named after the work folder (relative to the state folder) are
# then read by a real consumer, emf2svg-conv, and their previews checked to
# show all they draw (check_preview.py).
#   run-scenario.sh EMULATOR|- HOST STANDIN SCENARIO EXPECTED WORKDIR [EMF...]
set -uo pipefail
emulator=$1 host=$2 standin=$3 scenario=$4 expected=$5 work=$6
shift 6
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$work" && mkdir -p "$work/state"

# A path as the programs of this build spell it.
spell() {
  if [ "$emulator" = "-" ]; then printf '%s' "$1"; else printf 'Z:%s' "${1//\//\\}"; fi
}

# The stand-in installs the applications (tavrel-embroidery --install); on
# Windows every application's key is cleared before and after the run.
standin_run=("$standin")
[ "$emulator" != "-" ] && standin_run=("$emulator" "$standin")
registry="$work/registry.reg"
registry_args=()
[ "$emulator" = "-" ] && registry_args=(--registry "$registry")
clear_registry() {
  [ "$emulator" = "-" ] && return
  "${standin_run[@]}" --uninstall all >/dev/null
}

installed=$(sed -n 's/^# install: *//p' "$scenario")
printf 'Windows Registry Editor Version 5.00\r\n\r\n' >"$registry"
clear_registry
trap clear_registry EXIT
if [ -n "$installed" ] &&
  ! "${standin_run[@]}" --install "${registry_args[@]}" "$(spell "$work/state/Embroidery Apps")" $installed >/dev/null; then
  echo "run-scenario: the stand-in could not install applications $installed" >&2
  exit 1
fi

export TAVREL_EMBROIDERY_RECEIPT
TAVREL_EMBROIDERY_RECEIPT=$(spell "$work/receipt.json")
# The program a send starts goes on after the host has ended: it opens the
# drawing in the state folder, then renames its receipt into place as its
# last step. When the scenario asks for a receipt, nothing touches the state
# (the next run, a move, a copy) before that run's receipt is there; after a
# minute without one the run goes on and check_outcome reports it missing.
wants_receipt=$(sed -n 's/^# receipt:.*/1/p' "$scenario")
await_receipt() {
  local i
  [ -n "$wants_receipt" ] || return 0
  for ((i = 0; i < 600; i++)); do
    [ -s "$work/receipt.json" ] && return 0
    sleep 0.1
  done
}
run=("$host")
[ "$emulator" != "-" ] && run=("$emulator" "$host")
args=(--state-dir "$work/state")
[ "$emulator" = "-" ] && args+=(--registry "$registry")
runs=$(sed -n 's/^# runs: *//p' "$scenario")
# run_host LOG [VARIABLE=VALUE...]: the host's runs with that environment.
run_host() {
  local log=$1
  shift
  for ((i = 0; i < ${runs:-1}; i++)); do
    rm -f "$work/receipt.json"
    env "$@" "${run[@]}" "${args[@]}" --log "$log" "$scenario" 2>"$work/stderr.txt"
    status=$?
    await_receipt
    if [ "$status" -gt 1 ]; then
      echo "run-scenario: tavrel-host failed with $status in run $((i + 1))" >&2
      cat "$work/stderr.txt" >&2
      exit 1
    fi
  done
}
cp -a "$work/state" "$work/state.initial"
run_host "$work/log.jsonl" LC_MESSAGES=C
if ! diff -u "$expected" "$work/log.jsonl"; then
  echo "run-scenario: the log differs from $expected" >&2
  exit 1
fi
# Each language's session starts from the state the English one found; the
# English one's outcome (its state and its receipt) is checked afterwards.
mv "$work/state" "$work/state.english"
[ -f "$work/receipt.json" ] && mv "$work/receipt.json" "$work/receipt.english.json"
while read -r locale catalogue; do
  log="$work/log.$locale.jsonl"
  rm -rf "$work/state" && cp -a "$work/state.initial" "$work/state"
  run_host "$log" -u LC_ALL -u LC_MESSAGES LANG="$locale"
  if [ "$catalogue" = en ]; then
    diff -u "$expected" "$log" || { echo "run-scenario: the log with LANG=$locale is not the English one" >&2; exit 1; }
  else
    /usr/bin/python3 "$here/check_localized.py" "$expected" "$log" "$here/../../resources/po/$catalogue.po" || exit 1
  fi
done < <(sed -n 's/^# locale: *//p' "$scenario")
rm -rf "$work/state" "$work/receipt.json" && mv "$work/state.english" "$work/state"
[ -f "$work/receipt.english.json" ] && mv "$work/receipt.english.json" "$work/receipt.json"
/usr/bin/python3 "$here/check_outcome.py" "$scenario" "$work" || exit 1
for emf in "$@"; do
  svg="$work/$(basename "$emf").svg"
  if ! emf2svg-conv -i "$work/state/$emf" -o "$svg" || ! grep -q '<path' "$svg"; then
    echo "run-scenario: emf2svg-conv could not render $emf" >&2
    exit 1
  fi
  # The preview the demo shows must hold all the metafile draws, outlines too.
  /usr/bin/python3 "$here/check_preview.py" "$svg" || exit 1
done
echo "run-scenario: $(basename "$scenario") as expected"
