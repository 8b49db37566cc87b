#!/usr/bin/env bash
# Runs tavrel-host on a scenario in a fresh state folder and compares its log
# with the expected one, which both builds must produce exactly. Metafiles
# the scenario exports are then read by a real consumer (emf2svg-conv).
#   run-scenario.sh EMULATOR|- HOST SCENARIO EXPECTED-LOG WORKDIR [EMF...]
set -uo pipefail
emulator=$1 host=$2 scenario=$3 expected=$4 work=$5
shift 5
rm -rf "$work" && mkdir -p "$work"
run=("$host")
[ "$emulator" != "-" ] && run=("$emulator" "$host")
"${run[@]}" --state-dir "$work/state" --log "$work/log.jsonl" "$scenario" 2>"$work/stderr.txt"
status=$?
if [ "$status" -gt 1 ]; then
  echo "run-scenario: tavrel-host failed with $status" >&2
  cat "$work/stderr.txt" >&2
  exit 1
fi
if ! diff -u "$expected" "$work/log.jsonl"; then
  echo "run-scenario: the log differs from $expected" >&2
  exit 1
fi
for emf in "$@"; do
  svg="$work/$(basename "$emf").svg"
  if ! emf2svg-conv -i "$work/state/$emf" -o "$svg" || ! grep -q '<path' "$svg"; then
    echo "run-scenario: emf2svg-conv could not render $emf" >&2
    exit 1
  fi
done
echo "run-scenario: $(basename "$scenario") as expected"
