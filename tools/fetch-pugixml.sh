#!/usr/bin/env bash
# Fetches Debian's source of pugixml into build/third-party/pugixml, for the
# Windows build of torvane-import (Debian ships no MinGW build of it). Adds a
# deb-src entry for the archive the machine already uses when there is none.
# With apt-get as root, through sudo otherwise.
#
#   tools/fetch-pugixml.sh
set -euo pipefail
cd "$(dirname "$0")/.."

target=build/third-party/pugixml
if [ -f "$target/src/pugixml.cpp" ]; then
  exit 0
fi
sudo=()
if [ "$(id -u)" != 0 ]; then
  sudo=(sudo)
fi
if ! apt-get source --print-uris pugixml >/dev/null 2>&1; then
  # The archive in use, in either form of apt's source lists.
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
      "${sudo[@]}" tee /etc/apt/sources.list.d/torvane-deb-src.sources >/dev/null
  elif grep -q '^deb ' /etc/apt/sources.list 2>/dev/null; then
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list |
      "${sudo[@]}" tee /etc/apt/sources.list.d/torvane-deb-src.list >/dev/null
  else
    echo "$0: no apt source list to take the archive from" >&2
    exit 1
  fi
  "${sudo[@]}" apt-get update -qq
fi
# apt-get source unpacks with dpkg-source, which a minimal system lacks.
if ! command -v dpkg-source >/dev/null; then
  "${sudo[@]}" apt-get install -y -q --no-install-recommends dpkg-dev >/dev/null
fi
work=build/third-party/download
rm -rf "$work" && mkdir -p "$work"
(cd "$work" && apt-get source -qq pugixml 2>&1 | grep -v "unsandboxed" || true)
source_dir=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'pugixml-*' | head -n 1)
[ -f "$source_dir/src/pugixml.cpp" ] || { echo "$0: pugixml's source did not unpack" >&2; exit 1; }
rm -rf "$target"
mv "$source_dir" "$target"
rm -rf "$work"
echo "pugixml's source is in $target"
