#!/usr/bin/env bash
# Installs what the picture programs need, builds them, and saves pictures of
# the windows into OUT-FOLDER (default build/screenshots), on a virtual screen
# with a window manager. A BACKGROUND-PICTURE adds the pictures of a calendar
# with that background.
#   scripts/screenshots.sh [OUT-FOLDER [BACKGROUND-PICTURE]]
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-build/screenshots}
background=${2:-}
scripts/setup.sh --screenshots
scripts/build.sh build -DTAMCAL_SCREENSHOTS=ON
mkdir -p "$out"
export QTWEBENGINE_DISABLE_SANDBOX=1
scripts/desktop.sh bash -c '
    build/tests/forms/forms_screenshots "$0" ${1:+"$1"}
    build/tests/forms/view_screenshots "$0"' "$out" "$background"
