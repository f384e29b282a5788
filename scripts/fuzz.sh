#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (the `fuzz` preset) and runs the script fuzzer.
# Usage: scripts/fuzz.sh [seconds]   (default 30). Exits non-zero when the fuzzer finds a fault;
# the input that caused it is left in build/fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -eq 0 ]; then
    echo "usage: $0 [seconds]   (a positive whole number)" >&2
    exit 2
fi

bash scripts/install-deps.sh fuzz
cmake --preset fuzz
cmake --build --preset fuzz --target script-fuzzer -j 2

# New inputs go to a scratch folder; the seed corpus in fuzz/corpus stays as checked in.
work="build/fuzz/corpus-script"
artifacts="build/fuzz/artifacts"
mkdir -p "$work" "$artifacts"
build/fuzz/bin/script-fuzzer -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$artifacts/" "$work" fuzz/corpus
