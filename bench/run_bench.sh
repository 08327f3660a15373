#!/usr/bin/env bash
# Times the conversion of a fixed campaign of made-up sectors against the
# floor of creating the same files and writing the same bytes (cp -r of the
# scripts it wrote). Prints figures only; never fails for slowness.
#
#   bench/run_bench.sh BUILD_DIR [WORK_DIR]
#
# BUILD_DIR holds torvane and bench/torvane-gensector, bench/torvane-timed,
# bench/torvane-syscall-floor
# (cmake --build --preset release --target bench runs it on build/release).
# WORK_DIR (default BUILD_DIR/bench/work) is emptied and refilled.
# RUNS (default 5) sets how many timed runs each median is taken over.
set -euo pipefail

if [[ $# -lt 1 || $# -gt 2 ]]; then
  echo "usage: $0 BUILD_DIR [WORK_DIR]" >&2
  exit 2
fi
build=$(cd "$1" && pwd)
work=${2:-$build/bench/work}
runs=${RUNS:-5}
torvane=$build/torvane
gensector=$build/bench/torvane-gensector
timed=$build/bench/torvane-timed
syscall_floor=$build/bench/torvane-syscall-floor
for program in "$torvane" "$gensector" "$timed" "$syscall_floor"; do
  [[ -x $program ]] || { echo "$0: $program is missing: build the bench target" >&2; exit 2; }
done

readonly sector_count=64 density=50 first_seed=1
rm -rf "$work"
mkdir -p "$work/campaign"
cd "$work/campaign"
sectors=()
for ((i = 0; i < sector_count; i++)); do
  name=$(printf 'sec%02d' "$i")
  "$gensector" $((first_seed + i)) "$density" "$name"
  sectors+=("$name")
done
cd "$work"

# Runs COMMAND under torvane-timed; sets `seconds` (wall), `peak_kib` and
# `cpu_seconds` (user plus system). A command
# that fails stops the benchmark: its figures would mean nothing.
timed_run() {
  local figures status=0
  figures=$("$timed" "$@" 2>&1 >/dev/null) || status=$?
  if ((status != 0)); then
    printf '%s\n' "$figures" >&2
    echo "$0: '$*' exited with status $status" >&2
    exit 1
  fi
  read -r seconds peak_kib cpu_seconds < <(tail -n 1 <<<"$figures")
}

median() { printf '%s\n' "$@" | sort -g | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

# Converts the first N sectors into a fresh out/; sets `seconds`, `peak_kib`.
convert() {
  local n=$1 name args=()
  rm -rf out
  mkdir out
  for name in "${sectors[@]:0:n}"; do args+=("campaign/$name"); done
  timed_run "$torvane" -s+ -x+ -d out "${args[@]}"
}

# The floor: the same files created and the same bytes written.
copy_output() {
  rm -rf copy
  timed_run cp -r out copy
}

# The conversion's system calls alone (reads, checks, creates and writes),
# with no formatting: what the conversion cannot go below.
syscalls_only() {
  rm -rf floor
  mkdir floor
  timed_run "$syscall_floor" out campaign floor
}

# Warm-up: loads the programs and the campaign into the page cache and checks
# that the conversion runs clean (torvane exits non-zero on any error).
convert "$sector_count"
copy_output

convert_times=() copy_times=() convert_cpu=() copy_cpu=() peaks=() floor_times=()
for ((run = 0; run < runs; run++)); do
  convert "$sector_count"
  convert_times+=("$seconds")
  convert_cpu+=("$cpu_seconds")
  peaks+=("$peak_kib")
  copy_output
  copy_times+=("$seconds")
  copy_cpu+=("$cpu_seconds")
  syscalls_only
  floor_times+=("$seconds")
done

script_count=$(find out -type f | wc -l)
output_bytes=$(find out -type f -printf '%s\n' | awk '{s += $1} END {print s}')
input_bytes=$(find campaign -type f -printf '%s\n' | awk '{s += $1} END {print s}')
largest_input=$(find campaign -type f -printf '%s\n' | sort -n | tail -n 1)
digest=$(find out -type f -printf '%f\n' | LC_ALL=C sort | (cd out && xargs cat) |
         sed 's/^INSSYM Asteroid [1-8]/INSSYM Asteroid #/' | sha256sum | cut -c1-16)

convert_median=$(median "${convert_times[@]}")
copy_median=$(median "${copy_times[@]}")
convert_cpu_median=$(median "${convert_cpu[@]}")
copy_cpu_median=$(median "${copy_cpu[@]}")
floor_median=$(median "${floor_times[@]}")
peak_max=$(printf '%s\n' "${peaks[@]}" | sort -n | tail -n 1)

declare -A scale_times scale_cpu
for n in 1 8 64; do
  times=() cpus=()
  for ((run = 0; run < runs; run++)); do
    convert "$n"
    times+=("$seconds")
    cpus+=("$cpu_seconds")
  done
  scale_times[$n]=$(median "${times[@]}")
  scale_cpu[$n]=$(median "${cpus[@]}")
done
rm -rf out copy floor

awk -v sectors="$sector_count" -v scripts="$script_count" -v out_bytes="$output_bytes" \
    -v in_bytes="$input_bytes" -v largest="$largest_input" -v runs="$runs" \
    -v conv="$convert_median" -v copy="$copy_median" \
    -v conv_cpu="$convert_cpu_median" -v copy_cpu="$copy_cpu_median" -v peak="$peak_max" -v digest="$digest" \
    -v floor="$floor_median" \
    -v t1="${scale_times[1]}" -v t8="${scale_times[8]}" -v t64="${scale_times[64]}" \
    -v c1="${scale_cpu[1]}" -v c8="${scale_cpu[8]}" -v c64="${scale_cpu[64]}" 'BEGIN {
  mib = 1024 * 1024
  printf "campaign: %d sectors, %.2f MiB of input; output %d scripts, %.2f MiB\n",
         sectors, in_bytes / mib, scripts, out_bytes / mib
  printf "medians of %d warm runs (page cache warm, nothing synced to disk):\n", runs
  printf "                                           wall      cpu (user+sys)\n"
  printf "  convert (torvane -s+ -x+ -d out ...)   %8.3f s %8.3f s\n", conv, conv_cpu
  printf "  copy    (cp -r out copy)               %8.3f s %8.3f s\n", copy, copy_cpu
  printf "  ratio convert / copy                   %8.2f   %8.2f     (goal: at most 1.50)\n",
         conv / copy, conv_cpu / copy_cpu
  printf "  its system calls alone, no formatting  %8.3f s            (%.2f of the copy)\n", floor, floor / copy
  printf "  output rate                            %8.1f MB/s\n", out_bytes / 1e6 / conv
  printf "  peak resident memory (max of runs)     %8.2f MiB (goal: under %.2f MiB = 8 MiB + largest input %.1f KiB)\n",
         peak / 1024, 8 + largest / mib, largest / 1024
  printf "scaling (medians, -s+ -x+):      wall        cpu (user+sys)\n"
  printf "   1 sector   %8.4f s %7.2f ms/sector  %7.2f ms/sector\n", t1, t1 * 1000, c1 * 1000
  printf "   8 sectors  %8.4f s %7.2f ms/sector  %7.2f ms/sector\n", t8, t8 * 1000 / 8, c8 * 1000 / 8
  printf "  64 sectors  %8.4f s %7.2f ms/sector  %7.2f ms/sector\n", t64, t64 * 1000 / 64, c64 * 1000 / 64
  printf "output digest (asteroid digits masked): %s\n", digest
}'
