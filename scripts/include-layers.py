#!/usr/bin/env python3
"""Prints the includes inside the plug-in's folder that run from a file to one of a higher
layer, and fails (exit 1) when one of them is not on the allow-list beside the layer order.

Usage: scripts/include-layers.py [--layers FILE] [--dir DIR]
"""
import argparse
import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def read_layers(path):
    layers, allowed, order = {}, {}, []
    for number, raw in enumerate(path.read_text().splitlines(), 1):
        line = raw.split("#", 1)[0].strip()
        if not line:
            continue
        key, _, rest = line.partition(":")
        if key == "allow":
            edge, _, reason = rest.partition(":")
            source, _, target = edge.partition("->")
            if not reason.strip() or not target.strip():
                sys.exit(f"{path}:{number}: an allowed edge needs FILE -> INCLUDED : reason")
            allowed[(source.strip(), target.strip())] = reason.strip()
        else:
            if key not in order:
                order.append(key)
            for stem in rest.split():
                layers[stem] = (order.index(key), key)
    return layers, allowed


def edges(folder):
    for path in sorted(folder.iterdir()):
        if path.suffix not in (".h", ".cpp"):
            continue
        for line in path.read_text(errors="replace").splitlines():
            match = INCLUDE.match(line)
            if match:
                yield path.name, match.group(1)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--layers", default=ROOT / "scripts" / "include-layers.txt", type=pathlib.Path)
    parser.add_argument("--dir", default=ROOT / "Modules" / "AmbrelControl", type=pathlib.Path)
    args = parser.parse_args()
    layers, allowed = read_layers(args.layers)

    unknown, upward, refused = set(), [], 0
    for source, target in edges(args.dir):
        source_stem = pathlib.Path(source).stem
        target_stem = pathlib.Path(target).stem
        if not (args.dir / target).exists():
            continue  # outside the folder: other folders keep their own order
        for stem, name in ((source_stem, source), (target_stem, target)):
            if stem not in layers:
                unknown.add(name)
        if source_stem not in layers or target_stem not in layers:
            continue
        (low, low_name), (high, high_name) = layers[source_stem], layers[target_stem]
        if high <= low:
            continue
        reason = allowed.get((source, target))
        upward.append(f"{source} ({low_name}) -> {target} ({high_name})"
                      + (f"  allowed: {reason}" if reason else ""))
        refused += reason is None

    for line in upward:
        print(line)
    print(f"{len(upward)} upward include(s), {refused} not allowed")
    if unknown:
        print("files in no layer: " + " ".join(sorted(unknown)), file=sys.stderr)
    return 1 if refused or unknown else 0


if __name__ == "__main__":
    sys.exit(main())
