#!/usr/bin/env bash
# Builds the preset "fuzz" and runs every libFuzzer target in turn, each for
# the given number of seconds (default 12, about a minute for all), starting
# from the seeds in fuzz/corpus/<target>/. New inputs go to a scratch corpus
# in the build directory, never into the source tree. A crash, hang, leak or
# failed check stops that target, prints its log and makes the script fail;
# the input that caused it is kept as build/fuzz/fuzz-work/<target>-crash-*.
#
#   fuzz/run.sh [seconds-per-target]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-12}"
targets=(world_line route_line subsector command_line sector_files
         import_sector import_metadata preview_script)

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target fuzzers

work=build/fuzz/fuzz-work
# The whole-sector target writes a small sector for every input: in memory
# when the host offers it.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then
  export TMPDIR=/dev/shm
fi
mkdir -p "$work"
status=0
for target in "${targets[@]}"; do
  # The importer's targets need pugixml; a part that was not built is said so.
  if [ ! -x "build/fuzz/fuzz/${target}_fuzzer" ]; then
    printf '%-16s not built (its part is off)\n' "$target"
    continue
  fi
  mkdir -p "$work/$target"
  log="$work/$target.log"
  if build/fuzz/fuzz/"${target}_fuzzer" -max_total_time="$seconds" -timeout=10 \
       -rss_limit_mb=2048 -max_len=4096 -print_final_stats=1 \
       -artifact_prefix="$work/$target-" "$work/$target" "fuzz/corpus/$target" >"$log" 2>&1; then
    result=ok
  else
    result=FAILED
    status=1
    tail -n 40 "$log"
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  printf '%-16s %-6s %12s executions in %s s\n' "$target" "$result" "${runs:-?}" "$seconds"
done
exit "$status"
