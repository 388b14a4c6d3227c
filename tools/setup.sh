#!/usr/bin/env bash
# Installs the Debian packages q517 needs to build, test and run, when any is missing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build ccache pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-serialport-dev libgl1-mesa-dev qt6-translations-l10n
    poppler-utils xvfb xauth clang libclang-rt-14-dev
    # the serial device server the tests of network ports run against
    ser2net
    # manual pages and the package's checks
    help2man dpkg-dev lintian desktop-file-utils appstream shared-mime-info
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -q
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
