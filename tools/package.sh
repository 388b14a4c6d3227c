#!/usr/bin/env bash
# Builds a release and a Debian package of q517 (programs, language scripts, desktop entry, icon;
# it depends on qt6-translations-l10n for the toolkit's own words, see CMakeLists.txt).
# usage: tools/package.sh   -> build-release/q517_<version>_<arch>.deb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup.sh"
command -v dpkg-shlibdeps >/dev/null || { apt-get install -y -q dpkg-dev; }
build=$root/build-release
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr "${launcher[@]}" \
    -DQ517_BENCH=OFF -DQ517_TESTS=OFF
cmake --build "$build" --parallel "$(nproc)"
(cd "$build" && cpack -G DEB)
ls "$build"/*.deb
