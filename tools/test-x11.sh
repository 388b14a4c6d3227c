#!/usr/bin/env bash
# Runs the tests that build windows (CTest label "gui") once more on a real X server: Xvfb with
# the xcb platform, so menus, dialogs, focus and painting go through X as on a desk.
# usage: tools/test-x11.sh [BUILD_DIR]   (the folder must already be built)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
if [ -z "${Q517_ON_XVFB:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1920x1080x24" env Q517_ON_XVFB=1 "$0" "$build"
fi
# CTest pins the offscreen platform in each test's environment, so the programs are run here.
mapfile -t names < <(cd "$build" && ctest -N -L gui | sed -n 's/^ *Test *#[0-9]*: *//p')
[ "${#names[@]}" -gt 0 ] || { echo "no tests labelled gui in $build" >&2; exit 1; }
failed=()
for name in "${names[@]}"; do
    echo "-- $name"
    (cd "$build/tests" && QT_QPA_PLATFORM=xcb Q517_TEST=1 timeout 300 "./test_$name" -silent) ||
        failed+=("$name")
done
if [ "${#failed[@]}" -gt 0 ]; then
    echo "failed on X: ${failed[*]}" >&2
    exit 1
fi
echo "all ${#names[@]} window test programs passed on X"
