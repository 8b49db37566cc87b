#!/usr/bin/env bash
# Kills `xmlprofile set` at each of its system calls in turn (strace's fault
# injection at the k-th call of each system call a traced run made) and checks after each kill that the settings file is the old
# or the new one, that at most one temporary file is left, and that the
# next save removes it.
#   save-kill.sh XMLPROFILE WORKDIR
set -uo pipefail
tool=$1 work=$2
rm -rf "$work" && mkdir -p "$work"
file=$work/TavrelSettings.xml
fail() { echo "save-kill: $*" >&2; exit 1; }
leftovers() { ls -A "$work" | grep -cE '^TavrelSettings\.xml\.~tavrel-[A-Za-z0-9]{6}$'; }
save() { "$tool" set "$file" General EmbAppType "$1" >/dev/null || fail "a plain save of $1 failed"; }

save 2 && cp "$file" "$work/new"
save 1 && cp "$file" "$work/old"
is() { cmp -s "$file" "$work/$1"; }
# Another program's files beside it stay.
touch "$work/TavrelSettings.xml.bak" "$work/TavrelSettings.xml.ABCDEF" "$work/tvl1A2B.tmp" "$work/Other.xml.~tavrel-ABCDEF"

# The system calls of one save, in order, as "name k" (the k-th call of it).
strace -qq -o "$work/trace" "$tool" set "$file" General EmbAppType 2 >/dev/null || fail "strace cannot trace"
save 1
calls=$(sed -n 's/^\([a-z0-9_]*\)(.*/\1/p' "$work/trace" | awk '{ print $1, ++seen[$1] }')

kills=0 left=0
while read -r name k; do
  # (The shell's "Killed" note goes with the group's standard error.)
  status=$({
    strace -qq -o /dev/null -e inject="$name":signal=KILL:when="$k" "$tool" set "$file" General EmbAppType 2 >/dev/null
    echo $?
  } 2>/dev/null)
  is old || is new || fail "killed at $name #$k: the file is torn"
  count=$(leftovers)
  [ "$count" -le 1 ] || fail "killed at $name #$k: $count temporary files left"
  [ "$status" -eq 137 ] || continue  # the call was not reached (or exit_group itself)
  kills=$((kills + 1)) left=$((left + count))
  save 1
  [ "$(leftovers)" -eq 0 ] || fail "killed at $name #$k: the next save left the temporary file"
  is old || fail "the next save after $name #$k did not write"
done <<<"$calls"
save 2
is new || fail "a save after all the kills did not write"
[ "$kills" -gt 20 ] && [ "$left" -gt 5 ] || fail "only $kills kills, $left leftovers: strace injected nothing?"
for other in TavrelSettings.xml.bak TavrelSettings.xml.ABCDEF tvl1A2B.tmp Other.xml.~tavrel-ABCDEF; do
  [ -e "$work/$other" ] || fail "$other was removed"
done
echo "save-kill: killed at each of $kills system calls; $left left a temporary file, each removed by the next save"
