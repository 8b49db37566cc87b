#!/usr/bin/env bash
# Activation under Wine, for scripts/bench --wine: the real module in the
# stand-in host of each Windows build, with a settings file present and the
# application it names installed (tavrel-embroidery --install). One run
# attaches, activates once and releases; another does the same with 1,000
# cycles of load, activate, deactivate and unload. The difference per cycle is
# the activation's cost, with the host's logging of each call in it (so an
# upper bound); the best of three runs of each counts (wall time).
#   bench-wine-activation.sh PRESET...
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
cycles=1000
work=build/bench/wine-activation
mkdir -p "$work"

scenario() {
  echo 'file-write <state>/settings/TavrelSettings.xml <?xml version="1.0"?><profile><section name="General"><key name="EmbAppType" value="1"/><key name="ExportType" value="1"/><key name="OptimiseCurves" value="1"/></section></profile>'
  echo attach
  for ((i = 0; i < $1; i++)); do printf 'load\nactivate\ndeactivate\nunload\n'; done
  echo release
}
scenario 1 >"$work/one.scenario"
scenario "$cycles" >"$work/many.scenario"

source scripts/lib/xvfb.sh
tavrel_start_xvfb || exit 1
export WINEDEBUG=-all

# best_ms PRESET NAME: the shortest of three runs in milliseconds.
best_ms() {
  local best="" i start ms
  for i in 1 2 3; do
    start=$(date +%s%N)
    if ! scripts/wine-run "build/$1/bin/tavrel-host.exe" --state-dir "$work/state-$1" --log "$work/$1-$2.jsonl" \
      "$work/$2.scenario" >/dev/null 2>&1; then
      echo "bench: the $2 scenario failed in $1 (log $work/$1-$2.jsonl)" >&2; return 1
    fi
    ms=$((($(date +%s%N) - start) / 1000000))
    if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
  done
  echo "$best"
}

status=0
for preset in "$@"; do
  one="" many=""
  case $preset in
    win32 | win64) ;;
    *) echo "bench: $preset is no Windows build (win32, win64)" >&2; status=2; continue ;;
  esac
  if ! cmake --build "build/$preset" --target tavrel-host tavrel_module tavrel_embroidery >"$work/$preset-build.log" 2>&1; then
    echo "bench: cannot build build/$preset (configure it with cmake --preset $preset)" >&2; status=1; continue
  fi
  standin=(scripts/wine-run "build/$preset/bin/tavrel-embroidery.exe")
  apps="$root/$work/apps-$preset"
  if ! "${standin[@]}" --install "Z:${apps//\//\\}" 1 >/dev/null; then
    echo "bench: the stand-in could not install application 1 in $preset" >&2; status=1; continue
  fi
  one=$(best_ms "$preset" one) && many=$(best_ms "$preset" many) || status=1
  "${standin[@]}" --uninstall 1 >/dev/null 2>&1
  [ -n "$many" ] || continue
  awk -v p="$preset" -v one="$one" -v many="$many" -v n="$cycles" 'BEGIN {
    printf "  %-6s activation under Wine: %.0f us a cycle (a whole host run with one: %d ms)\n", p, (many - one) * 1000 / n, one }'
done
exit $status
