#!/usr/bin/env bash
# Builds the WebAssembly programs and the web page (the `wasm` preset, with
# Debian's emscripten), runs the tests of the page's parts, checks that under
# node the programs give the same bytes as the native release build, which
# must be built first, and drives the page in headless Chromium.
#
#   tools/test-wasm.sh
set -euo pipefail
cd "$(dirname "$0")/.."

tools/build-site.sh
node --test web/
tests/wasm_same_bytes.sh build/release build/wasm/node
node tests/web_page_test.mjs build/release build/wasm/site
