#!/usr/bin/env bash
# Makes sure what a build needs is there. Where apt exists (Debian and its kin, as root), the
# missing packages are installed; elsewhere nothing is installed: what is missing is named, and
# the build goes on when every tool is present (CMake then checks the libraries itself).
# Usage: scripts/install-deps.sh [dev|fuzz|windows]
#   dev      (default) the dev, release, asan and tsan presets: GCC, CMake, Ninja, the compiler
#            cache CI shares between builds, and the libraries the code, the tests and the
#            benchmarks use
#   fuzz     the fuzz preset: clang with its sanitizer and libFuzzer runtime
#   windows  the windows preset: the mingw-w64 cross compiler, Wine, GoogleTest's sources, and
#            the virtual X server the screenshots are taken on
set -euo pipefail
what="${1:-dev}"

# Each entry: Debian package, then how to tell it is there without apt: a command (cmd:NAME)
# or a file (file:PATH).
case "$what" in
dev)
    packages=(cmake:cmd:cmake ninja-build:cmd:ninja g++:cmd:g++ python3:cmd:python3
              ccache:cmd:ccache abigail-tools:cmd:abidiff libgtest-dev:file:/usr/include/gtest/gtest.h
              libgmock-dev:file:/usr/include/gmock/gmock.h
              libbenchmark-dev:file:/usr/include/benchmark/benchmark.h
              libsqlite3-dev:file:/usr/include/sqlite3.h
              nlohmann-json3-dev:file:/usr/include/nlohmann/json.hpp
              python3-jsonschema:file:/usr/lib/python3/dist-packages/jsonschema/__init__.py) ;;
fuzz)
    packages=(cmake:cmd:cmake ninja-build:cmd:ninja clang:cmd:clang++
              libclang-rt-14-dev:file:/usr/lib/llvm-14/lib/clang/14.0.6/lib/linux/libclang_rt.fuzzer-x86_64.a
              nlohmann-json3-dev:file:/usr/include/nlohmann/json.hpp
              libsqlite3-dev:file:/usr/include/sqlite3.h) ;;
windows)
    packages=(cmake:cmd:cmake ninja-build:cmd:ninja
              g++-mingw-w64-x86-64-posix:cmd:x86_64-w64-mingw32-g++-posix
              wine:cmd:wine wine64:file:/usr/lib/wine/wine64 fonts-wine:file:/usr/share/wine/fonts
              googletest:file:/usr/src/googletest/CMakeLists.txt
              nlohmann-json3-dev:file:/usr/include/nlohmann/json.hpp xvfb:cmd:Xvfb) ;;
*)
    echo "usage: $0 [dev|fuzz|windows]" >&2
    exit 2 ;;
esac

if command -v apt-get >/dev/null && command -v dpkg-query >/dev/null; then
    missing=()
    for entry in "${packages[@]}"; do
        p="${entry%%:*}"
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -qq
        apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
    exit 0
fi

tools=()
libraries=()
for entry in "${packages[@]}"; do
    p="${entry%%:*}"
    probe="${entry#*:}"
    case "$probe" in
    cmd:*) command -v "${probe#cmd:}" >/dev/null || tools+=("${probe#cmd:} ($p)") ;;
    file:*) [ -e "${probe#file:}" ] || libraries+=("${probe#file:} ($p)") ;;
    esac
done
if [ ${#libraries[@]} -gt 0 ]; then
    echo "install-deps: no apt here; not found where Debian puts them (CMake checks again):" >&2
    printf '  %s\n' "${libraries[@]}" >&2
fi
if [ ${#tools[@]} -gt 0 ]; then
    echo "install-deps: no apt here; install these tools (Debian package names given):" >&2
    printf '  %s\n' "${tools[@]}" >&2
    exit 1
fi
