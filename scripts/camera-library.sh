#!/usr/bin/env bash
# Checks that the plug-in can be linked against a camera library named at configure time
# (-DAMBREL_CAMERA_LIBRARY=PATH) instead of the simulated one: builds the simulator under another
# name and with another built-in camera as a stand-in for the vendor's library
# (build/camera-standin), builds the plug-in and the host against it (build/camera-plugin), and
# checks that the plug-in needs the stand-in, not the simulator, that at run time its camera
# calls bind to the stand-in and the dialog shows the stand-in's camera, and that the host,
# holding no simulator, refuses camera model files.
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

# The plug-in lists the stand-in's ports and opens the first. The stand-in's camera is not the
# simulator's: its port texts show who answered, and the dynamic linker's bindings show where the
# plug-in's calls went.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf 'select settings.16315 1\ndump\n' >"$work/script"
if ! LD_DEBUG=bindings LD_DEBUG_OUTPUT="$work/bindings" build/camera-plugin/bin/ambrel-host \
    --profile "$work/profile.db" --script "$work/script" >"$work/out" 2>"$work/err"; then
    echo "camera-library: the host failed with the plug-in on the stand-in:" >&2
    cat "$work/err" >&2
    exit 1
fi
python3 - "$work/out" <<'PY'
import json, sys
dump = [json.loads(l) for l in open(sys.argv[1]) if l.startswith("{")][-1]
ports = dump["pages"]["settings"]["controls"]["16315"]
features = dump["pages"]["settings"]["controls"]["16316"]
shown = [row[0] for row in ports["rows"][1:]]
wanted = ["vendor stand-in port %d" % i for i in range(3)]
if ports["selected"] != 1 or shown != wanted or not features["rows"]:
    sys.exit("camera-library: the dialog does not show the stand-in's camera (%s); "
             "ports shown: %s" % (", ".join(wanted), json.dumps(shown)))
PY
cat "$work"/bindings.* >"$work/bindings"
python3 - "$work/bindings" <<'PY'
import re, sys
calls = {}
for line in open(sys.argv[1]):
    m = re.search(r"binding file (\S+) .*to (\S+) .*symbol `(pf[A-Za-z]+)'", line)
    if m and m.group(1).endswith("AmbrelControl.so"):
        calls[m.group(3)] = m.group(2)
elsewhere = {name: lib for name, lib in calls.items() if not lib.endswith("libambrelvendorcam.so")}
if not calls or elsewhere or "pfOpenPort" not in calls:
    sys.exit("camera-library: the plug-in's camera calls are not bound to the stand-in: %s"
             % (elsewhere or "no pfOpenPort binding seen"))
print("camera-library: %d camera functions of the plug-in bound to the stand-in" % len(calls))
PY

# Without the simulator, a camera model file has nothing to load it: the host says so.
status=0
build/camera-plugin/bin/ambrel-host --profile "$work/profile.db" --camera minimal \
    --script /dev/null >/dev/null 2>"$work/err" || status=$?
if [ "$status" -ne 2 ] || ! grep -q -- "--camera: this build links the vendor's camera library" \
    "$work/err"; then
    echo "camera-library: the host did not refuse --camera (status $status):" >&2
    cat "$work/err" >&2
    exit 1
fi
echo "camera-library: the plug-in links $library, its calls reach it, and the host runs it"
