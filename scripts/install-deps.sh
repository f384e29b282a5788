#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any is missing.
# Usage: scripts/install-deps.sh [windows]   (windows: what the Windows build and its tests under
# Wine need instead: the mingw-w64 cross compiler, Wine, and the sources it compiles for Windows;
# and the virtual X server the screenshots are taken on)
set -euo pipefail

if [ "${1:-}" = windows ]; then
    packages=(cmake ninja-build g++-mingw-w64-x86-64-posix wine wine64 fonts-wine googletest
              nlohmann-json3-dev xvfb)
else
    packages=(cmake ninja-build g++ clang libclang-rt-14-dev libgtest-dev libgmock-dev
              libbenchmark-dev libsqlite3-dev nlohmann-json3-dev python3 python3-jsonschema)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
