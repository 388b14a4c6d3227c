#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer + ASan + UBSan) and runs each one for
# SECONDS against its corpus in tests/fuzz/corpus/<target>. A crash fails the run; its input
# is kept in build-fuzz/crashes/ to be added to the corpus as a regression case.
# usage: tools/fuzz.sh [SECONDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
build=$root/build-fuzz
"$root/tools/setup.sh"
launcher=()
# Paths relative to the checkout in ccache's keys, so a fresh clone reuses earlier builds.
export CCACHE_BASEDIR=$root CCACHE_NOHASHDIR=true
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER=clang++ -DQ517_FUZZ=ON "${launcher[@]}"
fi
cmake --build "$build" --parallel "$(nproc)"
mkdir -p "$build/crashes"
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
for target in "$build"/tests/fuzz/fuzz_*; do
    [ -f "$target" ] && [ -x "$target" ] || continue
    name=$(basename "$target")
    corpus=$root/tests/fuzz/corpus/${name#fuzz_}
    work=$build/corpus/${name#fuzz_}
    mkdir -p "$work"
    [ -d "$corpus" ] && cp -n "$corpus"/* "$work"/ 2>/dev/null || true
    echo "== $name for ${seconds}s =="
    if ! "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$build/crashes/$name-" "$work" >"$build/$name.log" 2>&1; then
        echo "FAILED: $name (see $build/$name.log, inputs in $build/crashes/)"
        tail -40 "$build/$name.log"
        status=1
    else
        grep -E '^(#[0-9]+|Done)' "$build/$name.log" | tail -1
    fi
done
exit $status
