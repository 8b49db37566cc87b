#!/usr/bin/env bash
# scripts/soak --long-day[=CYCLES]: one host process per preset runs CYCLES
# (default 10,000) cycles of activation, the settings dialog with Apply and a
# send (tools/host/faults/long_day.py), natively and under Wine; prints per
# preset a table of resident memory, open fds or handles, and GDI and USER
# objects every 100 cycles, and whether each stayed flat after cycle 100.
#   long-day.sh CYCLES BUILD(0|1) [PRESET...]   (default presets: native win32 win64)
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
cycles=$1 build=$2
shift 2
presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(native win32 win64)
out="$root/build/soak"
mkdir -p "$out"

tavrel_root=$root
source scripts/lib/wine-env.sh
source scripts/lib/wine-session.sh
display_ready=0
status=0
for preset in "${presets[@]}"; do
  bin="build/$preset/bin" emulator=() ext=""
  if [[ "$preset" == win* ]]; then
    if [ "$display_ready" = 0 ]; then
      source scripts/lib/xvfb.sh
      tavrel_start_xvfb || { echo "long day: no X display for Wine" >&2; exit 1; }
      trap 'tavrel_end_wine_sessions "${presets[@]}"; kill $TAVREL_XVFB_PID 2>/dev/null' EXIT
      export WINEDEBUG=$tavrel_wine_debug WINEDLLOVERRIDES="mscoree,mshtml="
      display_ready=1
    fi
    emulator=(--emulator "$root/scripts/wine-run") ext=.exe
    export TAVREL_WINE_ARCH=$preset
  fi
  if [ "$build" = 1 ] && { ! cmake --preset "$preset" >"$out/$preset.configure.log" 2>&1 ||
    ! cmake --build "build/$preset" -j 2 --target tavrel-host tavrel_embroidery tavrel_module \
      >"$out/$preset.build.log" 2>&1; }; then
    echo "long day: $preset does not build (build/soak/$preset.build.log)" >&2; status=1; continue
  fi
  echo "=== $preset: long day of $cycles cycles"
  python3 tools/host/faults/long_day.py --host "$bin/tavrel-host$ext" --standin "$bin/tavrel-embroidery$ext" \
    "${emulator[@]}" --work "build/$preset/long-day" --cycles "$cycles" | tee "$out/$preset-long-day.txt"
  [ "${PIPESTATUS[0]}" = 0 ] || status=1
done
exit $status
