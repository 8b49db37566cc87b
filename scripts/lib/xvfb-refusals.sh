#!/usr/bin/env bash
# Measures whether the display the harness starts ever refuses a connection:
# starts Xvfb as scripts/lib/xvfb.sh does, STARTS times, and right after each
# start makes CALLS back-to-back xdpyinfo connections (each a client that
# connects and leaves, as the harness's own calls and Wine's sessions do).
# Prints the refused calls and the starts that had any; exits 1 when any was
# refused.
#   xvfb-refusals.sh [--starts N] [--calls N] [--lib XVFB_SH]
# --lib measures another copy of xvfb.sh, e.g. an older one from git:
#   git show REV:scripts/lib/xvfb.sh >/tmp/xvfb-old.sh
#   scripts/lib/xvfb-refusals.sh --lib /tmp/xvfb-old.sh
set -uo pipefail
starts=30 calls=10
lib=$(cd "$(dirname "$0")" && pwd)/xvfb.sh
while [ $# -gt 0 ]; do
  case $1 in
    --starts) starts=$2; shift 2 ;;
    --calls) calls=$2; shift 2 ;;
    --lib) lib=$2; shift 2 ;;
    -h | --help) sed -n '2,11p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "xvfb-refusals: unknown argument $1" >&2; exit 2 ;;
  esac
done
source "$lib"
refused=0 bad_starts=0
for ((s = 0; s < starts; s++)); do
  tavrel_start_xvfb || exit 1
  here=0
  for ((c = 0; c < calls; c++)); do
    xdpyinfo >/dev/null 2>&1 || here=$((here + 1))
  done
  kill "$TAVREL_XVFB_PID" 2>/dev/null
  wait "$TAVREL_XVFB_PID" 2>/dev/null
  refused=$((refused + here))
  [ "$here" -gt 0 ] && bad_starts=$((bad_starts + 1))
done
trap - EXIT
echo "xvfb-refusals: $refused of $((starts * calls)) xdpyinfo calls refused, in $bad_starts of $starts starts"
[ "$refused" = 0 ]
