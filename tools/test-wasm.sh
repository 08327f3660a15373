#!/usr/bin/env bash
# Builds the WebAssembly programs (the `wasm` preset, with Debian's
# emscripten) and checks that under node they give the same bytes as the
# native release build, which must be built first.
#
#   tools/test-wasm.sh
set -euo pipefail
cd "$(dirname "$0")/.."

# No pugixml is installed for emscripten: the importer is built with
# Debian's source of it, as for Windows.
tools/fetch-pugixml.sh
# emscripten's optimizer imports acorn, which Debian keeps here.
export NODE_PATH=/usr/share/nodejs
cmake --workflow --preset wasm
tests/wasm_same_bytes.sh build/release build/wasm/node
