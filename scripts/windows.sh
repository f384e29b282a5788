#!/usr/bin/env bash
# The Windows build: cross-compiles with mingw-w64 and runs the test suites under Wine, in a Wine
# prefix of the build folder's own (build/windows/wine), then makes the .zip package. Installs what
# is missing; run as root.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$(date +%s)

bash scripts/install-deps.sh windows

export WINEPREFIX="$PWD/build/windows/wine"
# The lasting wineserver and the prefix's services start before anything runs under Wine, and
# stop (writing the prefix's registry out) however the script ends.
trap 'cmake/wine-run.sh --stop' EXIT
cmake/wine-run.sh --start
# Store trees that the tests of earlier runs left in the prefix's registry.
cmake/wine-run.sh reg delete 'HKCU\Software\AmbrelTest' /f >/dev/null 2>&1 || true

cmake --preset windows
cmake --build --preset windows
ctest --preset windows
# The package: ambrel-VERSION-windows-x64.zip (the runtime) in build/windows/packages.
(cd build/windows && cpack >/dev/null)
ls -l build/windows/packages/*.zip
echo "windows: built and tested in $(($(date +%s) - started)) s"
