#!/usr/bin/env bash
# Installs the build into a staging folder and checks what a desktop gets from
# it: the program and its report window's library, its desktop entry, icons and AppStream metadata, each passing
# its validator without errors or warnings; and that the staged program, being
# installed, keeps its data in the user's data folder.
# Usage: check-install.sh BUILD_DIR APP_ID VERSION
set -euo pipefail
build=$1 id=$2 version=$3
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

cmake --install "$build" --prefix "$stage/usr" >/dev/null
libdir=$(sed -n 's/^TAMCAL_REPORT_WINDOW_DIR:[A-Z]*=//p' "$build/CMakeCache.txt")
expected="usr/bin/tamcal
usr/$libdir/libtamcal_reportwindow.so
usr/share/applications/$id.desktop
usr/share/icons/hicolor/48x48/apps/$id.png
usr/share/icons/hicolor/scalable/apps/$id.svg
usr/share/metainfo/$id.metainfo.xml"
actual=$(cd "$stage" && find . -type f | sed 's|^\./||' | sort)
if [ "$actual" != "$expected" ]; then
    printf 'installed files differ:\n%s\nexpected:\n%s\n' "$actual" "$expected"
    exit 1
fi

desktop-file-validate "$stage/usr/share/applications/$id.desktop"
appstreamcli validate --no-net --strict "$stage/usr/share/metainfo/$id.metainfo.xml"
file "$stage/usr/share/icons/hicolor/48x48/apps/$id.png" | grep -q "PNG image data, 48 x 48"

[ "$("$stage/usr/bin/tamcal" --version)" = "TamCal $version" ]
XDG_DATA_HOME="$stage/data" "$stage/usr/bin/tamcal" --report 7/4/2004 7/4/2004 >/dev/null
[ -s "$stage/data/TamCal/TamCalendar.htm" ] && [ -f "$stage/data/TamCal/tamcal.ini" ]
[ ! -e "$stage/usr/bin/tamcal.ini" ]
echo "install checked"
