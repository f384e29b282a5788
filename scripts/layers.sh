#!/usr/bin/env bash
# Checks the layering of the top-level folders (docs/architecture.md): every #include of a file
# in the tree must reach a folder the includer's folder may use. Prints each include that runs
# the wrong way with its place, and fails if there is one. Usage: scripts/layers.sh [ROOT]
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

python3 - <<'PY'
import os, re, sys

# Each folder, most specific first, with the folders it may include besides itself.
LAYERS = [
    ("Modules/AmbrelControl/vendor", "vendor", []),
    ("hostapi", "hostapi", []),
    # The automation driver is the tools' and tests', not the runtime's.
    ("platform/ui/automation", "automation", ["platform"]),
    ("platform", "platform", []),
    ("framework", "framework", ["platform", "hostapi"]),
    ("sim", "sim", ["vendor"]),
    ("Modules/AmbrelControl", "plugin", ["framework", "platform", "hostapi", "vendor"]),
    ("host", "host", ["plugin", "sim", "automation", "framework", "platform", "hostapi", "vendor"]),
    ("examples", "examples", ["framework", "platform", "hostapi"]),
]
EVERYTHING = ["host", "plugin", "sim", "automation", "framework", "platform", "hostapi", "vendor"]
LAYERS += [(top, top, EVERYTHING) for top in ("tests", "bench", "fuzz")]
SOURCE = (".h", ".hpp", ".cpp", ".c", ".inc", ".def")

def layer_of(path):
    for prefix, name, _ in LAYERS:
        if path == prefix or path.startswith(prefix + "/"):
            return name
    return None

files = []
for top in sorted({prefix.split("/")[0] for prefix, _, _ in LAYERS}):
    for folder, dirs, names in os.walk(top):
        dirs.sort()
        files += [os.path.join(folder, n) for n in sorted(names) if n.endswith(SOURCE)]
known = set(files)
by_name = {}
for f in files:
    by_name.setdefault(os.path.basename(f), []).append(f)

def resolve(includer, target):
    local = os.path.normpath(os.path.join(os.path.dirname(includer), target))
    if local in known:
        return local
    found = [f for f in by_name.get(os.path.basename(target), []) if f.endswith("/" + target)]
    return found[0] if len(found) == 1 else None  # not ours (a system or third-party header)

allowed = {name: set(uses) | {name} for _, name, uses in LAYERS}
include = re.compile(r'^\s*#\s*include\s*[<"]([^>"]+)[>"]')
wrong = 0
for f in files:
    mine = layer_of(f)
    with open(f, encoding="utf-8", errors="replace") as text:
        for number, line in enumerate(text, 1):
            m = include.match(line)
            target = resolve(f, m.group(1)) if m else None
            if not target:
                continue
            theirs = layer_of(target)
            if theirs not in allowed[mine]:
                wrong += 1
                print("%s:%d: %s includes %s (%s); %s may use only %s"
                      % (f, number, mine, target, theirs, mine,
                         ", ".join(sorted(allowed[mine] - {mine})) or "itself"))
if wrong:
    sys.exit("layers: %d include(s) run against the layering" % wrong)
print("layers: %d files, no include runs against the layering" % len(files))
PY
