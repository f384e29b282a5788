#!/usr/bin/env bash
# The main job: installs what is missing (a fresh machine, as root), configures the dev preset,
# builds the reference host with the plug-in, and runs the host with its trace on a demo script,
# printing the trace and the final state.
# Usage: scripts/demo.sh [script]   (default: host/demo/demo.script)
set -euo pipefail
cd "$(dirname "$0")/.."
script="${1:-host/demo/demo.script}"
if [ ! -f "$script" ]; then
    echo "no such script: $script" >&2
    exit 2
fi

bash scripts/install-deps.sh
# Only what the demo runs: the host, which builds the plug-in and its libraries with it. What
# CMake and the build print is shown only when they fail.
log="$(mktemp)"
if ! { cmake --preset dev && cmake --build --preset dev --target ambrel-host; } >"$log" 2>&1; then
    cat "$log" >&2
    rm -f "$log"
    exit 1
fi
rm -f "$log"

# A fresh profile, so every demo starts as on a new machine with no port stored.
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
status=0
build/dev/bin/ambrel-host --trace --profile "$work/profile.db" --script "$script" \
    >"$work/out" || status=$?

# Each refresh scans the camera's property table and prints every name it reads; runs of those
# lines are counted here instead of listed, and the state dumps are shown indented.
python3 - "$work/out" <<'PY'
import json, sys

scanned = 0
def flush():
    global scanned
    if scanned:
        print(f"debug: ({scanned} property names scanned)")
        scanned = 0

for line in open(sys.argv[1], encoding="utf-8", errors="replace"):
    line = line.rstrip("\n")
    if line.startswith("debug: ") and " " not in line[7:]:
        scanned += 1
        continue
    flush()
    if line.startswith("{"):
        print("state:")
        print(json.dumps(json.loads(line), indent=2, ensure_ascii=False))
    else:
        print(line)
flush()
PY
exit "$status"
