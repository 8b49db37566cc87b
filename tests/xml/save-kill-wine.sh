#!/usr/bin/env bash
# The Windows build's save killed at sampled moments under Wine: the whole
# Wine process is killed at moments spread over the last third of a plain
# save's duration (before that Wine is still starting); after each
# kill the settings file is the old or the new one, at most one temporary
# file is left, and the next save removes it.
#   save-kill-wine.sh WINE-RUN XMLPROFILE.EXE WORKDIR [SAMPLES]
set -uo pipefail
run=$1 tool=$2 work=$3 samples=${4:-12}
rm -rf "$work" && mkdir -p "$work"
file=$work/TavrelSettings.xml
fail() { echo "save-kill-wine: $*" >&2; exit 1; }
leftovers() { ls -A "$work" | grep -cE '^TavrelSettings\.xml\.~tavrel-[A-Za-z0-9]{6}$'; }
save() { "$run" "$tool" set "$file" General EmbAppType "$1" >/dev/null 2>&1 || fail "a plain save of $1 failed"; }
is() { cmp -s "$file" "$work/$1"; }

save 2 && cp "$file" "$work/new"
start=$(date +%s%N)
save 1 && cp "$file" "$work/old"
duration=$((($(date +%s%N) - start) / 1000000))
touch "$work/TavrelSettings.xml.bak" "$work/tvl1A2B.tmp"

left=0
for ((i = 1; i <= samples; i++)); do
  delay=$((duration * 2 / 3 + duration * i / (3 * samples)))
  setsid "$run" "$tool" set "$file" General EmbAppType 2 >/dev/null 2>&1 &
  pid=$!
  sleep "$(printf '%d.%03d' $((delay / 1000)) $((delay % 1000)))"
  kill -9 -- "-$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  is old || is new || fail "killed after $delay ms: the file is torn"
  count=$(leftovers)
  [ "$count" -le 1 ] || fail "killed after $delay ms: $count temporary files left"
  left=$((left + count))
  save 1
  [ "$(leftovers)" -eq 0 ] || fail "killed after $delay ms: the next save left the temporary file"
  is old || fail "the next save after a kill at $delay ms did not write"
done
for other in TavrelSettings.xml.bak tvl1A2B.tmp; do [ -e "$work/$other" ] || fail "$other was removed"; done
echo "save-kill-wine: $samples kills over a ${duration} ms save; $left left a temporary file, each removed by the next save"
