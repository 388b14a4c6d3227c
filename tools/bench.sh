#!/usr/bin/env bash
# Builds a release and runs every benchmark in bench/, printing one table.
# Each benchmark prints its results as lines "BENCH <what> | <figure> | <goal>".
# usage: tools/bench.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-release
"$root/tools/setup.sh"
launcher=()
# Paths relative to the checkout in ccache's keys, so a fresh clone reuses earlier builds.
export CCACHE_BASEDIR=$root CCACHE_NOHASHDIR=true
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# The release folder is shared with tools/package.sh, which leaves the benchmarks out.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQ517_BENCH=ON -DQ517_TESTS=OFF \
    "${launcher[@]}" >/dev/null
cmake --build "$build" --parallel "$(nproc)"
export QT_QPA_PLATFORM=offscreen
echo "Machine: $(nproc) cores, $(awk '/MemTotal/ {printf "%.0f GiB", $2/1048576}' /proc/meminfo), $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
echo
echo "| what | figure | goal |"
echo "|---|---|---|"
for b in "$build"/bench/bench_*; do
    [ -f "$b" ] && [ -x "$b" ] || continue
    "$b" 2>/dev/null | sed -n 's/^BENCH \(.*\)$/| \1 |/p'
done
