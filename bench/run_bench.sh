#!/usr/bin/env bash
# Times the conversion of a fixed campaign of made-up sectors, its scripts
# written into one directory and beside each data file (and, when given, of
# real sector directories), on one thread and on every processor, against
# the floor of creating the same files and writing the same bytes (cp -r of
# the scripts it wrote, and cp -r followed by a sync of its file system, as
# the converter makes its scripts durable) and against its system calls
# alone, with the converter's flushes (one per sector) and without any, on
# the working disk and on tmpfs; with strace at hand, counts the system
# calls of each. Prints figures only; never fails for slowness.
#
#   bench/run_bench.sh BUILD_DIR [WORK_DIR]
#
# BUILD_DIR holds torvane and bench/torvane-gensector, bench/torvane-timed,
# bench/torvane-syscall-floor
# (cmake --build --preset release --target bench runs it on build/release).
# WORK_DIR (default BUILD_DIR/bench/work) is on the disk measured; it is
# emptied and refilled, as is TMPFS_DIR (default /dev/shm/torvane-bench;
# empty to skip tmpfs).
# RUNS (default 5) sets how many timed runs each median is taken over.
# TORVANE names another converter to time (default BUILD_DIR/torvane).
# SAMPLES names a directory whose sector directories are converted as a
# second data set.
# PAGE_MODULE names the directory of the web page's module of the three
# programs, torvane-programs.js and .wasm, to time on the campaign under node
# (default BUILD_DIR/../wasm/page, when it is there).
set -euo pipefail

if [[ $# -lt 1 || $# -gt 2 ]]; then
  echo "usage: $0 BUILD_DIR [WORK_DIR]" >&2
  exit 2
fi
build=$(cd "$1" && pwd)
work=${2:-$build/bench/work}
tmpfs_work=${TMPFS_DIR-/dev/shm/torvane-bench}
runs=${RUNS:-5}
samples=${SAMPLES:-}
torvane=${TORVANE:-$build/torvane}
gensector=$build/bench/torvane-gensector
timed=$build/bench/torvane-timed
syscall_floor=$build/bench/torvane-syscall-floor
for program in "$torvane" "$gensector" "$timed" "$syscall_floor"; do
  [[ -x $program ]] || { echo "$0: $program is missing: build the bench target" >&2; exit 2; }
done
one_thread=(taskset -c 0)
command -v taskset >/dev/null || { echo "$0: taskset (util-linux) is missing" >&2; exit 2; }
processors=$(nproc)

readonly sector_count=64 density=50 first_seed=1
# A file system without a journal (ext4 can run so) makes creating a file
# several times slower for a minute after files were deleted, while it looks
# past their inodes: nothing is deleted on the disk while it is measured,
# and a minute passes after an earlier work directory is cleared.
cleared=false
if [[ -e $work ]]; then
  rm -rf "$work"
  cleared=true
fi
mkdir -p "$work/campaign"
(
  cd "$work/campaign"
  for ((i = 0; i < sector_count; i++)); do
    "$gensector" $((first_seed + i)) "$density" "$(printf 'sec%02d' "$i")"
  done
)
if [[ -n $samples ]]; then
  mkdir -p "$work/samples"
  for dir in "$samples"/*/; do cp -r "$dir" "$work/samples/"; done
fi

# Runs COMMAND under torvane-timed after a sync; sets `seconds` (wall),
# `peak_kib` and `cpu_seconds` (user plus system). A command that fails stops
# the benchmark: its figures would mean nothing.
timed_run() {
  local figures status=0
  sync
  figures=$("$timed" "$@" 2>&1 >/dev/null) || status=$?
  if ((status != 0)); then
    printf '%s\n' "$figures" >&2
    echo "$0: '$*' exited with status $status" >&2
    exit 1
  fi
  read -r seconds peak_kib cpu_seconds < <(tail -n 1 <<<"$figures")
}

median() { printf '%s\n' "$@" | sort -g | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

# The scripts in a directory, or in its sector directories, in name order.
digest_of() {
  (cd "$1" && find . -type f -name '*.scr' | LC_ALL=C sort | xargs cat) |
    sed 's/^INSSYM Asteroid [1-8]/INSSYM Asteroid #/' | sha256sum | cut -c1-16
}

# Prints, for one conversion of data set $2 in file system directory $1
# (with -d, or beside the data files when $3 is "beside"), the system calls
# it makes per script: stats, futex calls, opens, renames, flushes, and all.
count_calls() {
  local root=$1 set=$2 mode=$3 args=() name scripts
  mkdir -p "$root/strace/out"
  cp -r "$work/$set" "$root/strace/in"
  for name in "$root/strace/in"/*/; do args+=("$root/strace/in/$(basename "$name")"); done
  if [[ $mode == beside ]]; then
    strace -f -c -o "$root/strace/counts" "$torvane" -s+ -x+ "${args[@]}" >/dev/null
    scripts=$(find "$root/strace/in" -name '*.scr' | wc -l)
  else
    strace -f -c -o "$root/strace/counts" "$torvane" -s+ -x+ -d "$root/strace/out" "${args[@]}" >/dev/null
    scripts=$(find "$root/strace/out" -name '*.scr' | wc -l)
  fi
  awk -v scripts="$scripts" -v sectors="${#args[@]}" '
    { calls = $4 }
    $NF ~ /^(newfstatat|fstat|lstat|stat|statx)$/ { stats += calls }
    $NF == "futex" { futex += calls } $NF == "openat" || $NF == "open" { opens += calls }
    $NF ~ /^rename/ { renames += calls } $NF ~ /^(f(data)?sync|syncfs)$/ { flushes += calls }
    $NF == "sync_file_range" { writeouts += calls }
    $NF == "total" { total = calls }
    END {
      printf "  system calls per script (%d scripts, strace -f -c): %.2f stats, %.2f futex, %.2f opens, %.2f renames, %.2f write-outs started, %.2f in all\n",
             scripts, stats / scripts, futex / scripts, opens / scripts, renames / scripts,
             writeouts / scripts, total / scripts
      printf "  flushes (syncfs, fsync, fdatasync): %d for %d sectors, %.2f per sector (one per sector and one per file system at most; fewer when sectors share one)\n",
             flushes, sectors, flushes / sectors
    }' "$root/strace/counts"
}

# Measures data set $2 (a directory of sector directories) in file system
# directory $1, printing one line per thread count. With $4 "beside" each
# sector's scripts are written next to its data file, else into one
# directory (-d). Every command writes into a directory that never held its
# files.
measure() {
  local root=$1 set=$2 label=$3 mode=${4:-dir} run name args=() one_args=() all_args=()
  mkdir -p "$root"
  cp -r "$work/$set" "$root/in"
  local one=() all=() copy=() copy_sync=() floor=() bare=() peak_one=() peak_all=()
  # Every sector of a copy of the inputs, as arguments.
  sectors_in() { local dir; for dir in "$1"/*/; do printf '%s\n' "$1/$(basename "$dir")"; done; }
  # Warm-up: the programs and the inputs into the page cache.
  if [[ $mode == beside ]]; then
    cp -r "$root/in" "$root/warm"
    mapfile -t args < <(sectors_in "$root/warm")
    timed_run "$torvane" -s+ -x+ "${args[@]}"
  else
    mkdir "$root/warm"
    mapfile -t args < <(sectors_in "$root/in")
    timed_run "$torvane" -s+ -x+ -d "$root/warm" "${args[@]}"
  fi
  # Each run converts on one thread and on all (`one`, `all`), copies the
  # scripts, and makes their system calls with and without the flushes
  # (`floor`, `bare`), every one into places that never held their files.
  local scripts_of one_out=() all_out=() floor_in bare_in
  for ((run = 0; run < runs; run++)); do
    if [[ $mode == beside ]]; then
      for name in one all floor bare; do cp -r "$root/in" "$root/$name$run"; done
      mapfile -t one_args < <(sectors_in "$root/one$run")
      mapfile -t all_args < <(sectors_in "$root/all$run")
      floor_in=$root/floor$run bare_in=$root/bare$run
    else
      mkdir "$root/one$run" "$root/all$run" "$root/floor$run" "$root/bare$run"
      one_args=("${args[@]}") all_args=("${args[@]}")
      one_out=(-d "$root/one$run") all_out=(-d "$root/all$run")
      floor_in=$root/in bare_in=$root/in
    fi
    timed_run "${one_thread[@]}" "$torvane" -s+ -x+ "${one_out[@]}" "${one_args[@]}"
    one+=("$seconds") peak_one+=("$peak_kib")
    timed_run "$torvane" -s+ -x+ "${all_out[@]}" "${all_args[@]}"
    all+=("$seconds") peak_all+=("$peak_kib")
    scripts_of=$root/all$run
    if [[ $mode == beside ]]; then
      # The scripts alone, in their sector directories, are what is copied.
      scripts_of=$root/scripts$run
      mkdir "$scripts_of"
      for name in "$root/all$run"/*/; do
        mkdir "$scripts_of/$(basename "$name")"
        cp "$name"*.scr "$scripts_of/$(basename "$name")/"
      done
    fi
    timed_run cp -r "$scripts_of" "$root/copy$run"
    copy+=("$seconds")
    timed_run sh -c 'cp -r "$1" "$2" && sync -f "$2"' sh "$scripts_of" "$root/copysync$run"
    copy_sync+=("$seconds")
    timed_run "$syscall_floor" --flush=sector "$scripts_of" "$floor_in" "$root/floor$run"
    floor+=("$seconds")
    timed_run "$syscall_floor" --flush=none "$scripts_of" "$bare_in" "$root/bare$run"
    bare+=("$seconds")
  done
  local output=$root/all0
  [[ $mode == beside ]] && output=$root/scripts0
  digest=$(digest_of "$output")
  local scripts bytes largest
  scripts=$(find "$output" -type f -name '*.scr' | wc -l)
  bytes=$(find "$output" -type f -name '*.scr' -printf '%s\n' | awk '{s += $1} END {print s}')
  largest=$(find "$root/in" -type f -printf '%s\n' | sort -n | tail -n 1)
  awk -v label="$label" -v sectors="${#args[@]}" -v scripts="$scripts" -v bytes="$bytes" \
      -v largest="$largest" -v threads="$processors" \
      -v one="$(median "${one[@]}")" -v all="$(median "${all[@]}")" \
      -v copy="$(median "${copy[@]}")" -v copy_sync="$(median "${copy_sync[@]}")" \
      -v floor="$(median "${floor[@]}")" \
      -v bare="$(median "${bare[@]}")" \
      -v peak_one="$(median "${peak_one[@]}")" -v peak_all="$(median "${peak_all[@]}")" 'BEGIN {
    mib = 1024 * 1024
    printf "%s: %d sectors, %d scripts, %.1f MiB\n", label, sectors, scripts, bytes / mib
    printf "  cp -r %.3f s, then sync %.3f s; system calls alone %.3f s, without the flushes %.3f s\n",
           copy, copy_sync, floor, bare
    printf "  %-10s %8.3f s  %5.2f x cp -r  %5.2f x cp -r+sync  %5.2f x calls  %5.2f x calls without flushes  peak %5.2f MiB (bound %.2f)\n",
           "1 thread", one, one / copy, one / copy_sync, one / floor, one / bare,
           peak_one / 1024, 8 + largest / mib
    printf "  %-10s %8.3f s  %5.2f x cp -r  %5.2f x cp -r+sync  %5.2f x calls  %5.2f x calls without flushes  peak %5.2f MiB (bound %.2f)\n",
           threads " threads", all, all / copy, all / copy_sync, all / floor, all / bare,
           peak_all / 1024, threads * (8 + largest / mib)
  }'
  if command -v strace >/dev/null; then count_calls "$root" "$set" "$mode"; fi
}

echo "medians of $runs runs; each command after a sync, into directories that never held its files"
$cleared && sleep 61
sets=(campaign)
[[ -n $samples ]] && sets+=(samples)
for set in "${sets[@]}"; do
  for mode in dir beside; do
    where="with -d"
    [[ $mode == beside ]] && where="beside each data file"
    measure "$work/disk-$set-$mode" "$set" \
      "$set $where, on $(df --output=fstype "$work" | tail -n 1)" "$mode"
    [[ $set == campaign && $mode == dir ]] && campaign_digest=$digest
    [[ $digest == "$campaign_digest" || $set != campaign ]] ||
      echo "  the scripts differ from those written with -d: digest $digest"
    if [[ -n $tmpfs_work ]]; then
      rm -rf "$tmpfs_work"
      measure "$tmpfs_work" "$set" \
        "$set $where, on $(df --output=fstype "$(dirname "$tmpfs_work")" | tail -n 1)" "$mode"
      rm -rf "$tmpfs_work"
    fi
  done
done
echo "campaign output digest (asteroid digits masked): $campaign_digest"

# The page's module, in memory, against the native build on one thread on
# tmpfs (or the working disk): the module from the converter's call, and the
# whole run as the page's worker makes it (instance, files in, call, files
# out), the native program from its start; and the module from node's start.
page_module=${PAGE_MODULE:-$build/../wasm/page}
if [[ -f $page_module/torvane-programs.wasm ]] && command -v node >/dev/null; then
  root=${tmpfs_work:-$work/page}
  rm -rf "$root" && mkdir -p "$root"
  cp -r "$work/campaign" "$root/in"
  mapfile -t args < <(for dir in "$root/in"/*/; do printf '%s\n' "$root/in/$(basename "$dir")"; done)
  native_runs=()
  for ((run = 0; run < runs; run++)); do
    mkdir "$root/out$run"
    timed_run "${one_thread[@]}" "$torvane" -s+ -x+ -d "$root/out$run" "${args[@]}"
    native_runs+=("$seconds")
  done
  read -r call whole from_start first_call < <("${one_thread[@]}" node "$(dirname "$0")/page_module_bench.mjs" \
                                                 "$page_module" "$root/in" "$runs")
  awk -v call="$call" -v whole="$whole" -v from_start="$from_start" -v first_call="$first_call" \
      -v native="$(median "${native_runs[@]}")" -v sectors="${#args[@]}" 'BEGIN {
    printf "page module under node, in memory, 1 thread: %d sectors %.3f s from the call, %.3f s the whole run, %.3f s from node'"'"'s start (its first call, in fresh memory, %.3f s); native 1 thread %.3f s: %.2f x from the call, %.2f x the whole run, %.2f x the first call\n",
           sectors, call, whole, from_start, first_call, native, call / native, whole / native, first_call / native
  }'
  rm -rf "$root"
else
  echo "page module: not timed (build the wasm preset, or set PAGE_MODULE)"
fi
