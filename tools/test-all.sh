#!/usr/bin/env bash
# Everything the project checks, as CI runs it: installs what is missing
# (tools/install-deps.sh), then every test in a release build, again under
# ASan + UBSan (with LeakSanitizer), the converter and its tests under
# ThreadSanitizer, a build of everything with clang, a
# short run of every fuzz target, the Debian package, the Windows
# programs built with MinGW-w64 and tested under Wine, and the WebAssembly
# programs built with emscripten and held to the native ones under node.
#
# Every step runs even when one before it failed, so that the summary at the
# end shows them all; the exit status is not 0 when any step failed.
#
#   tools/test-all.sh [fuzz-seconds-per-target]
set -uo pipefail
cd "$(dirname "$0")/.."

names=()
results=()
times=()
passed=0
failed=0

# Minutes and seconds, as 3m07s.
duration() {
  printf '%dm%02ds' $(($1 / 60)) $(($1 % 60))
}

# step NAME COMMAND...: runs the command between a banner and its time.
step() {
  local name=$1
  shift
  echo
  echo "==== $name: $*"
  local start=$SECONDS
  local result=passed
  if "$@"; then
    passed=$((passed + 1))
  else
    result=FAILED
    failed=$((failed + 1))
  fi
  local elapsed=$((SECONDS - start))
  echo "==== $name: $result in $(duration "$elapsed")"
  names+=("$name")
  results+=("$result")
  times+=("$(duration "$elapsed")")
}

step install-deps tools/install-deps.sh
step release cmake --workflow --preset release
step asan cmake --workflow --preset asan
step tsan cmake --workflow --preset tsan
step clang cmake --workflow --preset clang
step fuzz fuzz/run.sh "${1:-12}"
step package tools/check-package.sh
step windows tools/test-windows.sh
step wasm tools/test-wasm.sh

echo
echo "==== Summary"
for i in "${!names[@]}"; do
  printf '%-14s %-7s %8s\n' "${names[$i]}" "${results[$i]}" "${times[$i]}"
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
