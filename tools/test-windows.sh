#!/usr/bin/env bash
# Builds torvane.exe, torvane-preview.exe and torvane-import.exe with
# MinGW-w64, runs every test program under Wine and makes the zip
# (cmake --workflow --preset windows), then checks that torvane.exe waits for
# a key only in a console of its own. Wine's own processes are ended
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
if [ "$status" -eq 0 ]; then
  tests/windows_console_wait.sh build/windows || status=$?
fi
"$wineserver" -k 2>/dev/null || true
if [ "$status" -eq 0 ]; then
  # The usage text sends users to readme.txt: beside the programs.
  zip=$(ls build/windows/torvane-*-win64.zip)
  if ! cmake -E tar tf "$zip" | grep -qx 'torvane-[^/]*/readme.txt'; then
    echo "$0: no readme.txt in $zip" >&2
    status=1
  fi
fi
exit "$status"
