#!/usr/bin/env bash
# Configures and builds q517 into a build folder.
# usage: tools/build.sh [BUILD_DIR] [extra cmake options...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
shift || true
launcher=()
# Paths relative to the checkout in ccache's keys, so a fresh clone reuses earlier builds.
export CCACHE_BASEDIR=$root CCACHE_NOHASHDIR=true
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@"
else
    cmake "$build" "$@" >/dev/null
fi
cmake --build "$build" --parallel "$(nproc)"
