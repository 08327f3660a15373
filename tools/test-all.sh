#!/usr/bin/env bash
# Everything the project checks, as CI runs it: installs what is missing
# (tools/install-deps.sh), then every test in a release build, again under
# ASan + UBSan (with LeakSanitizer), the converter and its tests under
# ThreadSanitizer, a build of everything with clang, a
# short run of every fuzz target, the Debian package, and the Windows
# programs built with MinGW-w64 and tested under Wine.
#
#   tools/test-all.sh [fuzz-seconds-per-target]
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh
cmake --workflow --preset release
cmake --workflow --preset asan
cmake --workflow --preset tsan
cmake --workflow --preset clang
fuzz/run.sh "${1:-12}"
tools/check-package.sh
tools/test-windows.sh
