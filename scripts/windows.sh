#!/usr/bin/env bash
# The Windows build: cross-compiles with mingw-w64 and runs the test suites under Wine, in a Wine
# prefix of the build folder's own (build/PRESET/wine), then makes the .zip package. Installs what
# is missing; run as root.
# Usage: scripts/windows.sh [windows-release|windows]
#   windows-release  (default) the optimised build the package is made from: the runtime without
#                    debug information in ambrel-VERSION-windows-x64.zip, the debug information
#                    in ambrel-VERSION-windows-x64-debug.zip beside it
#   windows          the debug build, for development; its package carries its debug information
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-windows-release}"
case "$preset" in
windows-release | windows) ;;
*)
    echo "usage: $0 [windows-release|windows]" >&2
    exit 2 ;;
esac
build="build/$preset"
started=$(date +%s)

bash scripts/install-deps.sh windows

export WINEPREFIX="$PWD/$build/wine"
# The lasting wineserver and the prefix's services start before anything runs under Wine, and
# stop (writing the prefix's registry out) however the script ends.
trap 'cmake/wine-run.sh --stop' EXIT
cmake/wine-run.sh --start
# Store trees that the tests of earlier runs left in the prefix's registry.
cmake/wine-run.sh reg delete 'HKCU\Software\AmbrelTest' /f >/dev/null 2>&1 || true

cmake --preset "$preset"
cmake --build --preset "$preset"
ctest --preset "$preset"
# The package: ambrel-VERSION-windows-x64.zip (the runtime) in $build/packages.
rm -rf "$build/debug"
(cd "$build" && cpack >/dev/null)
if [ -d "$build/debug" ]; then
    # The installed binaries name their .debug files, which a debugger finds beside them.
    zip="$(ls "$build"/packages/*-windows-x64.zip)"
    (cd "$build/debug" && cmake -E tar cf "../packages/$(basename "$zip" .zip)-debug.zip" \
        --format=zip -- *.debug)
fi
ls -l "$build"/packages/*.zip
echo "windows ($preset): built and tested in $(($(date +%s) - started)) s"
