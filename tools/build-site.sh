#!/usr/bin/env bash
# Builds the web page into build/wasm/site/ (open index.html there in a
# browser) and the programs for node into build/wasm/node/, with Debian's
# emscripten. On the first run it installs the Debian packages it needs
# (tools/install-deps.sh site), adds a deb-src entry to apt's sources for
# pugixml's source (tools/fetch-pugixml.sh), and fetches the page's npm
# packages, pinned in web/package-lock.json.
#
#   tools/build-site.sh
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh site

# The zip library is built into the page; the test tools stay outside it.
if [[ ! -f web/node_modules/.package-lock.json ]] ||
  [[ web/package-lock.json -nt web/node_modules/.package-lock.json ]]; then
  npm ci --prefix web --no-audit --no-fund
fi
# No pugixml is installed for emscripten: the importer is built with
# Debian's source of it, as for Windows.
tools/fetch-pugixml.sh
# emscripten's optimizer imports acorn, which Debian keeps here.
export NODE_PATH=/usr/share/nodejs
cmake --workflow --preset wasm
echo "The page: $(pwd)/build/wasm/site/index.html"
