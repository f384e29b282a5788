#!/usr/bin/env bash
# Runs every test program of a built preset once whole, as one process, in shuffled order, so
# that a test leaving state behind for another fails here (ctest runs each test on its own).
# Usage: scripts/shuffled.sh [preset]   (default: dev; the preset must be built)
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-dev}"

status=0
for program in build/"$preset"/bin/*-tests build/"$preset"/bin/*_tests; do
    [ -x "$program" ] || continue
    # The output names the seed, for a rerun in the same order (--gtest_random_seed=N).
    if ! "$program" --gtest_shuffle --gtest_brief=1; then
        echo "FAILED whole and shuffled: $program" >&2
        status=1
    fi
done
exit "$status"
