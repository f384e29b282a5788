#!/usr/bin/env bash
# Installs a build (both components) into a scratch prefix and uses it as a user would: the
# installed host prints its version and runs the demo script from another folder; the example
# module is configured and built outside the source tree against the installed SDK alone and
# run through the installed host; then the build's package is made.
# Usage: scripts/install-check.sh [BUILD]   (default: build/release, which must be built)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build="${1:-build/release}"
[ -f "$build/CMakeCache.txt" ] || { echo "install-check: $build is not configured" >&2; exit 2; }
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
for component in runtime sdk; do
    cmake --install "$build" --prefix "$prefix" --component "$component" >/dev/null
done
# Moved after installing: nothing in the tree may depend on where it was installed.
mv "$prefix" "$work/moved"
prefix="$work/moved"
host="$prefix/bin/ambrel-host"

shown=$("$host" --version)
[ "$shown" = "ambrel-host $version" ] ||
    { echo "install-check: --version says '$shown', not $version" >&2; exit 1; }

mkdir "$work/elsewhere"
(cd "$work/elsewhere" && "$host" --profile profile.db --camera full \
    --script "$root/host/demo/demo.script" >demo.out 2>demo.err) ||
    { echo "install-check: the installed host failed on the demo:" >&2; cat "$work/elsewhere/demo.err" >&2; exit 1; }
grep -q '^{' "$work/elsewhere/demo.out" ||
    { echo "install-check: the demo printed no state" >&2; exit 1; }
# Exit status 1 is the verdict "works with features missing", which the large model is.
inspect_status=0
"$prefix/bin/ambrel-inspect" --camera "$prefix/share/ambrel/cameras/large.json" --json \
    >"$work/report.json" || inspect_status=$?
[ "$inspect_status" -le 1 ] ||
    { echo "install-check: the installed inspector failed ($inspect_status)" >&2; exit 1; }

cmake -S examples/hello-module -B "$work/hello" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$work/hello" >/dev/null
status=0
(cd "$work/elsewhere" && "$host" --plugin "$work/hello/hello-module.so" --profile profile.db \
    --trace </dev/null >hello.out 2>hello.err) || status=$?
if [ "$status" -ne 0 ] || ! grep -qx 'plug-in: Hello' "$work/elsewhere/hello.err" ||
    ! grep -qx 'debug: Hello module attached' "$work/elsewhere/hello.out"; then
    echo "install-check: the example module did not run (status $status):" >&2
    cat "$work/elsewhere/hello.err" "$work/elsewhere/hello.out" >&2
    exit 1
fi

(cd "$build" && cpack >/dev/null)
ls -l "$build"/packages/*.tar.gz
echo "install-check: version $version installs, runs from anywhere and builds a module"
