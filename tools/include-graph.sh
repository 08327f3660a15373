#!/bin/sh
# Prints the include graph between the folders of src/: one line per pair
# "from -> to  (n)", n being the number of include lines, own folder left out.
# Run from anywhere: tools/include-graph.sh [src-dir]
set -eu
src=${1:-$(dirname "$0")/../src}
cd "$src"
for dir in */; do
  dir=${dir%/}
  grep -ho '^#include "[a-z_]*/' "$dir"/*.h "$dir"/*.cc 2>/dev/null |
    sed -E 's/^#include "([a-z_]+)\//\1/' |
    grep -vx "$dir" |
    sort | uniq -c |
    while read -r count to; do printf '%s -> %s  (%s)\n' "$dir" "$to" "$count"; done
done
