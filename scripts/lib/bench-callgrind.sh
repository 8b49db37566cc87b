#!/usr/bin/env bash
# Instructions of one whole Load per shape, ours and pugixml's load_file, each
# in a fresh process under callgrind less a process that loads nothing, and
# the heap blocks each allocates (valgrind's count, less the same process's).
# Counts do not depend on other load on the machine. With --cache, instead:
# the first-level and last-level data cache misses of the same Load
# (cachegrind's model of this machine's caches), ours and pugixml's.
#   scripts/lib/bench-callgrind.sh [--cache] [SHAPE...]   (default: every shape)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
cache=0
[ "${1:-}" = --cache ] && { cache=1; shift; }
cmake --build build/native -j 2 --target bench_profile >/dev/null
bench=build/native/bin/bench_profile
shapes=$(mktemp -d)
trap 'rm -rf "$shapes"' EXIT
"$bench" --write-shapes "$shapes" >"$shapes/list"
count() { # READER FILE -> "instructions allocations", or with --cache "D1-misses LLd-misses"
  local ir allocs
  if [ "$cache" = 1 ]; then
    valgrind --tool=cachegrind --cache-sim=yes --cachegrind-out-file=/dev/null "$bench" --cold "$1" "$2" 2>&1 \
      >/dev/null | awk '/D1  misses:/ {gsub(",", "", $4); d = $4} /LLd misses:/ {gsub(",", "", $4); l = $4}
        END {print d, l}'
    return
  fi
  ir=$(valgrind --tool=callgrind --callgrind-out-file=/dev/null "$bench" --cold "$1" "$2" 2>&1 >/dev/null |
    sed -n 's/.*Collected : \([0-9]*\).*/\1/p')
  allocs=$(valgrind --tool=memcheck "$bench" --cold "$1" "$2" 2>&1 >/dev/null |
    sed -n 's/.*total heap usage: \([0-9,]*\) allocs.*/\1/p' | tr -d ,)
  echo "$ir $allocs"
}
read -r base_ir base_allocs < <(count none "$(sed -n '1s/.* //p' "$shapes/list")")
if [ "$cache" = 1 ]; then
  printf '%-20s %14s %14s %7s %12s %12s\n' shape ours_D1miss pugixml_D1miss x ours_LLdmiss pugi_LLdmiss
else
  printf '%-20s %14s %14s %7s %12s %12s\n' shape ours_Ir pugixml_Ir x ours_allocs pugi_allocs
fi
declare -A ours
while read -r name reader file; do
  [ $# -eq 0 ] || [[ " $* " == *" $name "* ]] || continue
  read -r ir allocs < <(count "$reader" "$file")
  if [ "$reader" = ours ]; then
    ours[$name]="$((ir - base_ir)) $((allocs - base_allocs))"
    continue
  fi
  read -r oir oallocs <<<"${ours[${name%-utf8}]:-0 0}"
  printf '%-20s %14d %14d %7.2f %12d %12d\n' "$name" "$oir" "$((ir - base_ir))" \
    "$(echo "($ir - $base_ir) / ($oir + 0.000001)" | bc -l)" "$oallocs" "$((allocs - base_allocs))"
done <"$shapes/list"
