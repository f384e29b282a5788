#!/usr/bin/env bash
# Random automation scripts played by the headless host (the dev build) and by the Windows build
# under Wine, compared line by line (tests/differential): first the seeds of every divergence
# found so far (tests/differential/seeds.txt), then COUNT scripts from a seed printed at the
# start. Builds what is out of date; one lasting wineserver serves every run.
# Usage: scripts/differential.sh [COUNT] [options of tests/differential/differential.py]
#   e.g. scripts/differential.sh 200 --seed 1234   (the same scripts again)
# The Windows host is the optimised build the package is made from (AMBREL_WINDOWS_PRESET=windows
# plays the debug build instead).
set -euo pipefail
cd "$(dirname "$0")/.."
count="${1:-200}"
shift || true
if ! [[ "$count" =~ ^[0-9]+$ ]]; then
    echo "usage: $0 [COUNT] [--seed S] [--no-shrink]" >&2
    exit 2
fi

bash scripts/install-deps.sh
bash scripts/install-deps.sh windows
[ -f build/dev/build.ninja ] || cmake --preset dev >/dev/null
windows="${AMBREL_WINDOWS_PRESET:-windows-release}"
[ -f "build/$windows/build.ninja" ] || cmake --preset "$windows" >/dev/null
cmake --build --preset dev --target ambrel-host
cmake --build --preset "$windows" --target ambrel-host

export WINEPREFIX="$PWD/build/$windows/wine"
trap 'cmake/wine-run.sh --stop' EXIT
cmake/wine-run.sh --start
export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
python3 tests/differential/differential.py --host build/dev/bin/ambrel-host \
    --windows-host "build/$windows/bin/ambrel-host.exe" --count "$count" "$@"
