#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (the `fuzz` preset) and runs each of them in turn.
# Usage: scripts/fuzz.sh [seconds]   (default 30, for each target). Target NAME-fuzzer starts from
# the seed corpus fuzz/corpus/NAME/, with the libFuzzer options in fuzz/NAME.options if any. Exits
# non-zero when a fuzzer finds a fault; the input that caused it is left in
# build/fuzz/artifacts/NAME/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -eq 0 ]; then
    echo "usage: $0 [seconds]   (a positive whole number)" >&2
    exit 2
fi

bash scripts/install-deps.sh fuzz
cmake --preset fuzz
# Only the fuzz targets: the rest of the tree is not meant to link with the fuzzers' flags.
targets=($(cmake --build --preset fuzz --target help | grep -oE '[A-Za-z0-9_.-]+-fuzzer' | sort -u))
cmake --build --preset fuzz -j 2 --target "${targets[@]}"

status=0
for fuzzer in build/fuzz/bin/*-fuzzer; do
    name="$(basename "$fuzzer" -fuzzer)"
    # New inputs go to a scratch folder; the seed corpus stays as checked in.
    work="build/fuzz/corpus-$name"
    artifacts="build/fuzz/artifacts/$name"
    mkdir -p "$work" "$artifacts"
    seeds=()
    [ -d "fuzz/corpus/$name" ] && seeds=("fuzz/corpus/$name")
    # A target's own libFuzzer options, one a line, in fuzz/NAME.options.
    options=()
    [ -f "fuzz/$name.options" ] && mapfile -t options < <(grep -v '^#' "fuzz/$name.options")
    echo "== $name: $seconds s"
    if ! "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 "${options[@]}" -artifact_prefix="$artifacts/" "$work" \
        "${seeds[@]}"; then
        echo "== $name found a fault; see $artifacts/" >&2
        status=1
    fi
done
exit "$status"
