#!/usr/bin/env bash
# Compares the binary interface of what ships with the baseline kept in abi/: the plug-in and a
# shared build of the framework (whose debug information describes every class a module shares
# with the host and with other modules). Any change of a shared type's layout, of a virtual table
# or of an exported function fails, with libabigail's report.
# Usage: scripts/abi-check.sh [BUILD_DIR]            compare (default build/dev)
#        scripts/abi-check.sh --baseline BUILD_DIR   write abi/ from BUILD_DIR (a new major version)
set -euo pipefail
cd "$(dirname "$0")/.."

mode=check
if [ "${1:-}" = "--baseline" ]; then
    mode=baseline
    shift
fi
build="${1:-build/dev}"

command -v abidiff >/dev/null || {
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq && apt-get install -y -qq --no-install-recommends abigail-tools
}

cmake --build "$build" --target ambrel_framework_abi AmbrelControl >/dev/null

# Only the types the SDK's headers declare count; the standard library's are the compiler's.
headers=(--hd "$PWD/framework" --hd "$PWD/platform/include" --hd "$PWD/platform/ui/include"
         --hd "$PWD/hostapi")
status=0
for binary in libambrel_framework_abi.so AmbrelControl.so; do
    baseline="abi/${binary%.so}.abi"
    current=$(mktemp)
    abidw --no-corpus-path --no-comp-dir-path --short-locs "${headers[@]}" --out-file "$current" \
        "$build/bin/$binary"
    if [ "$mode" = baseline ]; then
        mv "$current" "$baseline"
        chmod 644 "$baseline"
        echo "abi-check: wrote $baseline"
        continue
    fi
    # Functions added in a minor version break nobody; everything else is reported.
    if abidiff --no-added-syms --suppressions abi/suppressions.abignore "$baseline" "$current" \
        >"$current.report"; then
        echo "abi-check: $binary matches $baseline"
    else
        echo "abi-check: $binary differs from $baseline:" >&2
        cat "$current.report" >&2
        status=1
    fi
    rm -f "$current" "$current.report"
done
exit $status
