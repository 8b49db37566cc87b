# Sourced: starts a private X server for Wine's windows and exports DISPLAY.
# Xvfb picks a free display itself (-displayfd), so runs at the same time never
# race for one; the function returns only once the server answers, and fails
# loudly when it does not start. The server stops when the sourcing shell exits.
#
# -noreset: by default Xvfb resets itself whenever its last client
# disconnects and refuses connections while it does. The harness leaves it
# without clients exactly when a new Wine session starts (after xdpyinfo,
# after ending a session, after a program run with wine-run's session ending
# at once), and a Wine desktop process that meets the reset can make no
# window for as long as the session lives (err:winediag:nodrv_CreateWindow).
# scripts/lib/xvfb-refusals.sh measures it.
tavrel_start_xvfb() {
  local fifo display=""
  fifo=$(mktemp -u "${TMPDIR:-/tmp}/tavrel-xvfb.XXXXXX")
  mkfifo "$fifo" || { echo "xvfb: cannot create $fifo" >&2; return 1; }
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
  TAVREL_XVFB_PID=$!
  # The server writes its display number and a newline once it is listening.
  read -r -t 60 display <"$fifo" || true
  rm -f "$fifo"
  if [ -z "$display" ] || ! kill -0 "$TAVREL_XVFB_PID" 2>/dev/null; then
    echo "xvfb: Xvfb did not start (no display number within 60 s)" >&2
    kill "$TAVREL_XVFB_PID" 2>/dev/null
    return 1
  fi
  export DISPLAY=":${display}"
  local _
  for _ in $(seq 600); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
  done
  if ! xdpyinfo >/dev/null 2>&1; then
    echo "xvfb: Xvfb on $DISPLAY does not answer" >&2
    kill "$TAVREL_XVFB_PID" 2>/dev/null
    return 1
  fi
  trap 'kill $TAVREL_XVFB_PID 2>/dev/null' EXIT
}
