#!/usr/bin/env bash
# Builds torvane.exe, torvane-preview.exe and torvane-import.exe with
# MinGW-w64, runs every test program under Wine and makes the zip
# (cmake --workflow --preset windows). Wine's own processes are ended
# afterwards, so that none outlives the run holding its output open.
#
#   tools/test-windows.sh
set -euo pipefail
cd "$(dirname "$0")/.."

tools/fetch-pugixml.sh
export WINEPREFIX="$PWD/build/windows/wine-prefix"
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
status=0
cmake --workflow --preset windows || status=$?
"$wineserver" -k 2>/dev/null || true
exit "$status"
