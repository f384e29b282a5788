#!/usr/bin/env bash
# Pictures of the plug-in's dialog as the Windows reference host shows it: one PNG per tab
# (settings.png, adjustment.png, image.png, exposure.png), taken by the host itself (the script's
# `capture` lines) while it runs under Wine on a virtual X display, against the built-in fully
# equipped camera with its first port open. Installs what is missing and builds what is out of
# date; run as root.
# Usage: scripts/screenshots.sh [OUTDIR]   (default build/screenshots)
# AMBREL_WINDOWS_BUILD names the Windows build folder (default build/windows). The pictures are
# taken in a Wine prefix of their own with the X11 display driver, wine-x11 in that folder (the
# tests' prefix has no display driver).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${AMBREL_WINDOWS_BUILD:-build/windows}
case "$build" in /*) ;; *) build="$root/$build" ;; esac
out=${1:-build/screenshots}
pictures=(settings adjustment image exposure)

bash scripts/install-deps.sh windows
[ -f "$build/build.ninja" ] || cmake --preset windows -B "$build"
cmake --build "$build" --target ambrel-host

mkdir -p "$out"
out=$(cd "$out" && pwd)
for p in "${pictures[@]}"; do rm -f "$out/$p.png"; done

export WINEPREFIX="$build/wine-x11"
export AMBREL_WINE_GRAPHICS=x11
work=$(mktemp -d)
xvfb=
wine=
cleanup() {
    if [ -n "$wine" ]; then cmake/wine-run.sh --stop || true; fi
    if [ -n "$xvfb" ]; then kill "$xvfb" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

# The X server picks a free display and writes its number once it takes connections; reading it
# through a FIFO waits for exactly that (or for the end of the server's output if it fails).
mkfifo "$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
display=
read -r display <"$work/display" || true
if [ -z "$display" ]; then
    echo "screenshots: the virtual X server did not start:" >&2
    cat "$work/xvfb.log" >&2
    exit 1
fi
export DISPLAY=":$display"

wine=started
cmake/wine-run.sh --start
# A fresh profile, so the host starts with no port open.
cmake/wine-run.sh reg delete 'HKCU\Software\AmbrelTest\screenshots' /f >/dev/null 2>&1 || true

# Each picture is taken after the line before it and everything it caused has run and the
# window has painted; the host writes it before it reads the next line.
status=0
(cd "$out" && "$root/cmake/wine-run.sh" "$build/bin/ambrel-host.exe" --profile screenshots \
    --script - >"$work/host.log" 2>&1) <<'EOF' || status=$?
select settings.16315 1    # the first port
capture settings.png
select settings.16316 3    # the crosshairs, switched on: the Adjustment tab comes
select settings.16315 0
tab Adjustment
capture adjustment.png
tab Image
capture image.png
tab Exposure
capture exposure.png
EOF
missing=()
for p in "${pictures[@]}"; do [ -s "$out/$p.png" ] || missing+=("$p.png"); done
if [ "$status" -ne 0 ] || [ ${#missing[@]} -gt 0 ]; then
    echo "screenshots: the host failed (status $status; missing: ${missing[*]:-none}):" >&2
    cat "$work/host.log" >&2
    exit 1
fi
for p in "${pictures[@]}"; do echo "$out/$p.png"; done
