#!/usr/bin/env bash
# Builds the Debian package from a Release build, shows its contents, lints
# its man pages, unpacks it into a scratch root and converts the example
# sector with the torvane inside it.
#
#   tools/check-package.sh
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --workflow --preset package
deb=$(ls build/package/torvane_*.deb)
dpkg-deb --info "$deb"
dpkg-deb --contents "$deb"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
mandoc -T lint -W warning "$root"/usr/share/man/man1/*.1
# The usage text sends users to readme.txt: it must be there, with the options.
readme="$root/usr/share/doc/torvane/readme.txt"
grep -q -- '^-s# ' "$readme" || { echo "$0: no usage table in $readme" >&2; exit 1; }

work="$root/work"
mkdir -p "$work/out"
cp -r examples/lyra "$work/lyra"
(cd "$work" && "$root/usr/bin/torvane" -s+ -d out lyra)
for script in lyra.scr lyraA.scr lyraP.scr; do
  [ -s "$work/out/$script" ] || { echo "$0: the packaged torvane wrote no out/$script" >&2; exit 1; }
done
"$root/usr/bin/torvane-preview" "$work/out/lyra.scr"
[ -s "$work/out/lyra.svg" ] || { echo "$0: the packaged torvane-preview wrote no SVG" >&2; exit 1; }
"$root/usr/bin/torvane-preview" --version
"$root/usr/bin/torvane-import" --version
echo "The package $deb converts the example sector."
