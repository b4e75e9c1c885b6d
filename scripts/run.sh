#!/usr/bin/env bash
# Installs what is missing, builds, and starts TamCal.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build
if [ -x build/bin/tamcal ]; then
    exec build/bin/tamcal
fi
echo "Built without the windows (TAMCAL_GUI is off), so there is no program to start."
