#!/bin/sh
# Runs a program of the Windows build under Wine, in the build's own prefix and without a display.
#   wine-run.sh PROGRAM [ARGS...]   what ctest runs for every test (the cross-compiling emulator)
#   wine-run.sh --start             makes the prefix when missing, then starts a lasting wineserver
#                                   and the prefix's services, before a build's tests run
#   wine-run.sh --stop              stops them, writing the prefix's registry out
set -eu
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX="${WINEPREFIX:-$here/../build/windows/wine}"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
# No .NET or Gecko installer prompts when the prefix is made.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
wine=${AMBREL_WINE:-/usr/lib/wine/wine64}
wineserver=${AMBREL_WINESERVER:-/usr/lib/wine/wineserver}

quiet() { "$@" </dev/null >/dev/null 2>&1; }

make_prefix() {
    mkdir -p "$WINEPREFIX"
    quiet "$wine" wineboot --init
    # Set before the desktop process next starts: no display driver, and a crashing program ends
    # at once instead of waiting on a crash dialog nobody can close.
    quiet "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f
    quiet "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
    quiet "$wineserver" -k || true
    quiet "$wineserver" -w || true
}

case "${1:-}" in
--start)
    [ -f "$WINEPREFIX/system.reg" ] || make_prefix
    # Started here with their output elsewhere, Wine's helper processes never hold a test's
    # output pipe open (ctest would wait for them).
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
