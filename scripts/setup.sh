#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing TamCal need,
# skipping those already present; with --screenshots also what the picture
# programs need (a virtual screen and a window manager). Uses sudo when not run
# as root.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-webengine-dev libgl-dev fonts-dejavu-core
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth x11-apps x11-utils openbox xdotool imagemagick libxcb1-dev
    clang libclang-rt-dev clang-format
    desktop-file-utils appstream dpkg-dev fakeroot file
    poppler-utils
)
if [ "${1:-}" = "--screenshots" ]; then
    packages+=(xvfb xauth x11-apps imagemagick openbox)
fi

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
