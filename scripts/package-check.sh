#!/usr/bin/env bash
# Builds the Debian package, installs it into this machine, checks that the
# installed program answers on the command line and keeps its data in the
# user's data folder, then removes the package, leaving the machine as it was.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/package.sh
deb=$(ls build-package/tamcal_*.deb)

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
data=$(mktemp -d)
cleanup() {
    DEBIAN_FRONTEND=noninteractive $sudo apt-get remove -y -q tamcal
    rm -rf "$data"
}
trap cleanup EXIT
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "./$deb"

/usr/bin/tamcal --version | grep -x "TamCal [0-9.]*"

# 7/4/2004 holds "Independence Day" in the plain hex form.
mkdir -m 700 "$data/TamCal"
printf '[Main]\r\nUsePass=False\r\n[Days]\r\n07042004T=%s\r\n' \
    "$(printf 'Independence Day' | od -An -tx1 | tr -d ' \n' | tr a-f A-F)" \
    >"$data/TamCal/tamcal.ini"
XDG_DATA_HOME="$data" /usr/bin/tamcal --report 7/1/2004 7/31/2004
grep -q "Independence Day" "$data/TamCal/TamCalendar.htm"
if [ -e /usr/bin/tamcal.ini ] || [ -e /usr/bin/TamCalendar.htm ]; then
    echo "the installed program wrote beside itself in /usr/bin"
    exit 1
fi
echo "package check: installed, ran and kept its data in \$XDG_DATA_HOME/TamCal"
