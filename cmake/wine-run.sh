#!/bin/sh
# Runs a program of the Windows build under Wine, in the build's own prefix and without a display.
#   wine-run.sh PROGRAM [ARGS...]   what ctest runs for every test (the cross-compiling emulator)
#   wine-run.sh --start             makes the prefix when missing, then starts a lasting wineserver
#                                   and the prefix's services, before a build's tests run
#   wine-run.sh --stop              stops them, writing the prefix's registry out
# AMBREL_WINE_GRAPHICS=x11 makes a new prefix with the X11 display driver (DISPLAY names the
# server) instead of none; a prefix keeps the driver it was made with.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX="${WINEPREFIX:-$here/../build/windows/wine}"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
# No .NET or Gecko installer prompts when the prefix is made.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
wine=${AMBREL_WINE:-/usr/lib/wine/wine64}
wineserver=${AMBREL_WINESERVER:-/usr/lib/wine/wineserver}
graphics=${AMBREL_WINE_GRAPHICS:-null}

quiet() { "$@" </dev/null >/dev/null 2>&1; }

make_prefix() {
    mkdir -p "$WINEPREFIX"
    quiet "$wine" wineboot --init
    # Set before the desktop process next starts: the display driver (none by default), and a
    # crashing program ends at once instead of waiting on a crash dialog nobody can close.
    quiet "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d "$graphics" /f
    quiet "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
    quiet "$wineserver" -k || true
    quiet "$wineserver" -w || true
}

case "${1:-}" in
--start)
    [ -f "$WINEPREFIX/system.reg" ] || make_prefix
    # Started here with their output elsewhere, Wine's helper processes never hold a test's
    # output pipe open (ctest would wait for them).
    # Wine looks for its own fonts (fonts-wine) in the prefix; without them "MS Shell Dlg"
    # falls back to a wider font and dialog units no longer come out as 6 x 13 pixels.
    for font in /usr/share/wine/fonts/*.ttf; do
        [ -e "$font" ] || continue
        [ -e "$WINEPREFIX/drive_c/windows/Fonts/${font##*/}" ] ||
            cp "$font" "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    done
    quiet "$wineserver" -p
    quiet "$wine" wineboot
    ;;
--stop)
    quiet "$wineserver" -k || true
    quiet "$wineserver" -w || true
    ;;
"")
    echo "usage: $0 PROGRAM [ARGS...] | --start | --stop" >&2
    exit 2
    ;;
*)
    exec "$wine" "$@"
    ;;
esac
