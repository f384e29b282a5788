#!/usr/bin/env python3
"""Checks every model file of a cameras folder: valid against the schema, and loaded by the host."""
import json
import pathlib
import subprocess
import sys

try:
    import jsonschema
except ImportError:
    sys.exit("check_models.py: needs python3-jsonschema (scripts/install-deps.sh installs it)")


def main(folder, host):
    folder = pathlib.Path(folder)
    schema = json.loads((folder / "camera-model.schema.json").read_text())
    jsonschema.Draft202012Validator.check_schema(schema)
    validator = jsonschema.Draft202012Validator(schema)
    models = sorted(p for p in folder.glob("*.json") if not p.name.endswith(".schema.json"))
    failed = 0 if models else 1
    for model in models:
        problems = [f"{e.json_path}: {e.message}"
                    for e in validator.iter_errors(json.loads(model.read_text()))]
        run = subprocess.run([host, "--check-camera", str(model)], capture_output=True, text=True)
        if run.returncode != 0:
            problems.append(f"ambrel-host --check-camera exits {run.returncode}: {run.stderr}")
        for problem in problems:
            print(f"{model.name}: {problem}")
        failed += 1 if problems else 0
    print(f"{len(models) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
