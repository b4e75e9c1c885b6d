#!/usr/bin/env bash
# Builds the Debian package build-package/tamcal_<version>_<arch>.deb: the
# program alone, in a release build, packed by CPack.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
dir=build-package
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAMCAL_BENCH=OFF \
    -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON "$@"
cmake --build "$dir" --parallel "$(nproc)" --target tamcal
rm -f "$dir"/tamcal_*.deb
(cd "$dir" && cpack -G DEB)
ls "$dir"/tamcal_*.deb
