# Sourced: fills the arrays TAVREL_APP_KEYS, TAVREL_APP_PROGRAMS and
# TAVREL_APP_NAMES, by index, with the plug-in's embroidery applications as
# the embroidery stand-in prints them (registry key below HKEY_CURRENT_USER,
# program file name, display name).
#   tavrel_read_applications STANDIN [EMULATOR]     (EMULATOR "-" or "": none)
tavrel_read_applications() {
  local standin=$1 emulator=${2:-} lib index key program name
  [ "$emulator" = "-" ] && emulator=""
  lib=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
  TAVREL_APP_KEYS=() TAVREL_APP_PROGRAMS=() TAVREL_APP_NAMES=()
  while IFS=$'\t' read -r index key program name; do
    TAVREL_APP_KEYS[index]=$key TAVREL_APP_PROGRAMS[index]=$program TAVREL_APP_NAMES[index]=$name
  done < <(/usr/bin/python3 "$lib/applications.py" --emulator="$emulator" "$standin" tsv)
  if [ "${#TAVREL_APP_KEYS[@]}" = 0 ]; then
    echo "$standin listed no embroidery applications" >&2
    return 1
  fi
}
