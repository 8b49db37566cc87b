# Sourced: the project's two Wine prefixes and how to pick one.
# build/wineprefix holds a 32-bit Windows (WINEARCH=win32), build/wineprefix64
# a 64-bit one (WINEARCH=win64). Wine fixes a prefix's architecture when it
# creates it, and with wine64 installed a prefix made without WINEARCH turns
# 64-bit, so every prefix is created here with its architecture stated.

tavrel_root=${tavrel_root:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}

# tavrel_wine_prefix win32|win64 -> the prefix folder
tavrel_wine_prefix() {
  case $1 in
    win64) echo "$tavrel_root/build/wineprefix64" ;;
    *) echo "$tavrel_root/build/wineprefix" ;;
  esac
}

# tavrel_wine_loader win32|win64 -> the Wine loader for that bitness, which
# starts Wine with a fixed address layout (scripts/lib/wine-loader-win64 says why)
tavrel_wine_loader() {
  case $1 in
    win64) echo "$tavrel_root/scripts/lib/wine-loader-win64" ;;
    *) echo "$tavrel_root/scripts/lib/wine-loader-win32" ;;
  esac
}

# tavrel_pe_arch FILE -> win32 (PE32), win64 (PE32+), or nothing if FILE is no PE image
tavrel_pe_arch() {
  local f=$1 off magic
  [ -f "$f" ] || return 1
  [ "$(head -c 2 "$f" 2>/dev/null)" = "MZ" ] || return 1
  off=$(od -An -t u4 -j 60 -N 4 "$f" | tr -d ' ')
  [ -n "$off" ] || return 1
  magic=$(od -An -t x2 -j $((off + 24)) -N 2 "$f" | tr -d ' ')
  case $magic in
    010b) echo win32 ;;
    020b) echo win64 ;;
    *) return 1 ;;
  esac
}

# What Wine says about itself: its errors, and every line of its diagnostics
# channel (winediag: "no display driver could be loaded" and the like), but
# none of its notes about functions it implements only in part (fixme). A
# process that Wine ends with exit code 1 says why on standard error only
# when errors are on.
tavrel_wine_debug=err+all,fixme-all,+winediag

# tavrel_wine_env win32|win64: exports WINEPREFIX, WINEARCH, WINEDEBUG (unless
# set) and no Mono/Gecko prompts
tavrel_wine_env() {
  export WINEARCH=$1
  WINEPREFIX=$(tavrel_wine_prefix "$1")
  export WINEPREFIX
  export WINEDEBUG="${WINEDEBUG:-$tavrel_wine_debug}"
  export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
}

# tavrel_make_prefix win32|win64: creates the prefix once (about 6 s)
tavrel_make_prefix() {
  (
    tavrel_wine_env "$1"
    if [ -f "$WINEPREFIX/system.reg" ] && ! grep -q "^#arch=$1" "$WINEPREFIX/system.reg"; then
      echo "setup: $WINEPREFIX has the wrong architecture, recreating it"
      wineserver -k 2>/dev/null || true
      rm -rf "$WINEPREFIX"
    fi
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      echo "setup: creating $1 Wine prefix $WINEPREFIX"
      mkdir -p "$WINEPREFIX"
      "$(tavrel_wine_loader "$1")" wineboot -i >/dev/null 2>&1 || true
      wineserver -w || true
    fi
    # Windows are left unmanaged: Xvfb runs no window manager, and Wine waits
    # two seconds for one each time it hides a managed window (every message
    # box and dialog).
    if ! grep -q '^"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
      "$(tavrel_wine_loader "$1")" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
      wineserver -w || true
    fi
  )
}

# tavrel_font_prefix PREFIX win32|win64: a prefix of its own (made when missing) with
# the fonts a Windows user has: Wine's own (Debian's fonts-wine: Tahoma for
# the dialog font, Marlett for the caption's close box), which Wine reads
# from the prefix's Windows\Fonts, and windows left unmanaged (Xvfb runs no
# window manager, so Wine draws each window's frame itself). The test
# prefixes keep their fonts.
tavrel_font_prefix() {
  local prefix=$1 arch=$2 fonts
  if [ ! -f "$prefix/system.reg" ]; then
    mkdir -p "$prefix"
    WINEPREFIX=$prefix WINEARCH=$arch WINEDEBUG=-all "$(tavrel_wine_loader "$arch")" wineboot -i >/dev/null 2>&1 || true
    WINEPREFIX=$prefix wineserver -w || true
    WINEPREFIX=$prefix WINEARCH=$arch WINEDEBUG=-all "$(tavrel_wine_loader "$arch")" \
      reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    WINEPREFIX=$prefix wineserver -w || true
  fi
  fonts=(/usr/share/wine/fonts/*.ttf)
  [ -f "${fonts[0]}" ] || { echo "Wine's fonts are missing (fonts-wine; scripts/setup)" >&2; return 1; }
  cp -u "${fonts[@]}" "$prefix/drive_c/windows/Fonts/"
}
