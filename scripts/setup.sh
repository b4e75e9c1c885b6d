#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing TamCal need,
# skipping those already present. Uses sudo when not run as root.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-webengine-dev libgl-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth x11-apps x11-utils openbox xdotool imagemagick fonts-dejavu-core libxcb1-dev
    clang libclang-rt-14-dev
    desktop-file-utils appstream dpkg-dev fakeroot file
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
