#!/usr/bin/env bash
# Checks that the plug-in can be linked against a camera library named at configure time
# (-DAMBREL_CAMERA_LIBRARY=PATH) instead of the simulated one: builds the simulator under another
# name as a stand-in for the vendor's library (build/camera-standin), builds the plug-in and the
# host against it (build/camera-plugin), and checks that the plug-in needs the stand-in, not the
# simulator, and that the host runs it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S scripts/camera-library -B build/camera-standin -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
cmake --build build/camera-standin --target pfConfig
library="$PWD/build/camera-standin/bin/libambrelvendorcam.so"
[ -f "$library" ] || { echo "camera-library: the stand-in was not built: $library" >&2; exit 1; }

cmake --preset dev -B build/camera-plugin -DAMBREL_CAMERA_LIBRARY="$library" \
    -DAMBREL_TESTS=OFF -DAMBREL_BENCH=OFF >/dev/null
cmake --build build/camera-plugin --target ambrel-host

needed=$(readelf -d build/camera-plugin/bin/AmbrelControl.so | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
if ! grep -qx libambrelvendorcam.so <<<"$needed" || grep -qx libpfConfig.so <<<"$needed"; then
    echo "camera-library: the plug-in does not link the stand-in alone; it needs:" >&2
    echo "$needed" >&2
    exit 1
fi

# The plug-in lists the stand-in's ports and opens the first; the host's own view of the camera
# is the simulator it links, so only the dialog shows what the plug-in found.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf 'select settings.16315 1\ndump\n' >"$work/script"
if ! build/camera-plugin/bin/ambrel-host --profile "$work/profile.db" --script "$work/script" \
    >"$work/out" 2>"$work/err"; then
    echo "camera-library: the host failed with the plug-in on the stand-in:" >&2
    cat "$work/err" >&2
    exit 1
fi
python3 - "$work/out" <<'PY'
import json, sys
dump = [json.loads(l) for l in open(sys.argv[1]) if l.startswith("{")][-1]
ports = dump["pages"]["settings"]["controls"]["16315"]
features = dump["pages"]["settings"]["controls"]["16316"]
if ports["selected"] != 1 or len(ports["rows"]) < 2 or not features["rows"]:
    sys.exit("camera-library: the plug-in found no camera through the stand-in: " + json.dumps(ports))
PY
echo "camera-library: the plug-in links $library and runs"
