# Sourced: starts a private X server for Wine's windows and exports DISPLAY.
# The server stops when the sourcing shell exits.
tavrel_start_xvfb() {
  local n=90
  while [ -e "/tmp/.X${n}-lock" ] || [ -e "/tmp/.X11-unix/X${n}" ]; do n=$((n + 1)); done
  Xvfb ":${n}" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  TAVREL_XVFB_PID=$!
  export DISPLAY=":${n}"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${n}" ] && break; sleep 0.1; done
  trap 'kill $TAVREL_XVFB_PID 2>/dev/null' EXIT
}
