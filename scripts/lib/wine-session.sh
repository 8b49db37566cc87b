# Sourced (after wine-env.sh, with DISPLAY set): Wine sessions for a Windows
# preset's tests, each proved by wine-window-probe to make windows.
#
# A session is one wineserver of the preset's prefix, kept running (-p), and
# its desktop process, kept alive by a probe that holds it (--hold) after
# showing its box; so a probe run later in the same session meets the same
# desktop process as the tests did. A session whose desktop process could
# load no display driver makes no window for as long as it lives; the probe
# then fails and reports it (nodrv_CreateWindow), and so does Wine itself on
# the probe's standard error.

# tavrel_end_wine_sessions [PRESET...]: ends the sessions of these prefixes
# (default both).
tavrel_end_wine_sessions() {
  local arch arches=("$@")
  [ $# -gt 0 ] || arches=(win32 win64)
  for arch in "${arches[@]}"; do
    (tavrel_wine_env "$arch" && wineserver -k && wineserver -w) >/dev/null 2>&1 || true
  done
}

# tavrel_probe_session PRESET LOG: runs the probe once in the preset's
# current session, its output to LOG. A session whose holding probe has
# ended (its wineserver or desktop went away) counts as broken.
tavrel_probe_session() {
  local probe="$tavrel_root/build/$1/bin/wine-window-probe.exe"
  if [ -n "${TAVREL_WINE_HOLDER:-}" ] && ! kill -0 "$TAVREL_WINE_HOLDER" 2>/dev/null; then
    echo "wine-window-probe: the session ended under the tests (its holding probe is gone)" >"$2"
    return 1
  fi
  timeout 120 "$tavrel_root/scripts/wine-run" "$probe" >"$2" 2>&1
}

# tavrel_probe_evidence LOG: one line of why the probe failed: its own last
# finding (nodrv_CreateWindow with Wine's reason, when it found that), else
# Wine's first word on the display driver, else the log's last line.
tavrel_probe_evidence() {
  local line
  line=$(grep 'wine-window-probe:' "$1" 2>/dev/null | tail -n 1)
  [ -n "$line" ] || line=$(grep -E 'nodrv_CreateWindow|winediag' "$1" 2>/dev/null | head -n 1)
  [ -n "$line" ] || line="the probe failed: $(tail -n 1 "$1" 2>/dev/null)"
  printf '%s' "$line" | tr -d '\r\t'
}

# tavrel_start_wine_session PRESET LOG: ends the preset's session and starts
# a new one (tavrel_hold_wine_session). Returns 1 when the probe failed (the
# session is ended again; LOG holds why).
tavrel_start_wine_session() {
  tavrel_end_wine_sessions "$1"
  tavrel_hold_wine_session "$@" && return 0
  tavrel_end_wine_sessions "$1"
  return 1
}

# tavrel_hold_wine_session PRESET LOG: makes the preset's wineserver
# persistent (starting one if none runs), then runs the probe, which holds the
# session once it has shown its box. Returns 1 when the probe failed.
tavrel_hold_wine_session() {
  local preset=$1 log=$2 i
  local probe="$tavrel_root/build/$preset/bin/wine-window-probe.exe"
  (tavrel_wine_env "$preset" && wineserver -p) >/dev/null 2>&1
  : >"$log"
  "$tavrel_root/scripts/wine-run" "$probe" --hold >>"$log" 2>&1 &
  local holder=$!
  TAVREL_WINE_HOLDER=$holder
  for ((i = 0; i < 1200; i++)); do
    grep -q 'wine-window-probe: holding' "$log" && return 0
    kill -0 "$holder" 2>/dev/null || return 1
    sleep 0.1
  done
  echo "wine-window-probe: no box within 120 s" >>"$log"
  return 1
}

# tavrel_new_wine_session PRESET LOG: a new session that the probe passed in,
# up to three tries (the third in a remade prefix); says on standard output
# why a try failed. Returns 1 when no try gave one.
tavrel_new_wine_session() {
  local preset=$1 log=$2 attempt
  for attempt in 1 2 3; do
    if [ "$attempt" = 3 ]; then
      echo "wine-session: remaking the $preset Wine prefix"
      rm -rf "$(tavrel_wine_prefix "$preset")"
      tavrel_make_prefix "$preset"
    fi
    tavrel_start_wine_session "$preset" "$log" && return 0
    echo "wine-session: the new $preset Wine session makes no windows (try $attempt of 3):"
    tail -n 30 "$log" | sed 's/^/  | /'
  done
  return 1
}
