#!/usr/bin/env bash
# The test command: installs what is missing, configures, builds and runs the whole suite.
# Usage: scripts/test.sh [preset]   (default: dev; also release, asan, tsan)
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-dev}"

bash scripts/install-deps.sh
cmake --preset "$preset"
cmake --build --preset "$preset"
ctest --preset "$preset"
