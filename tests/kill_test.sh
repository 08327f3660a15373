#!/usr/bin/env bash
# Kills torvane at random moments while it converts a campaign of 64 made-up
# sectors over the scripts of an earlier run, RUNS times with SIGKILL and
# RUNS times with SIGINT. After each, every script name must hold the whole
# new script or the whole earlier one, as the script or as its backup, and
# no script may be cut short. Ctrl-C leaves no temporary file; a kill may,
# but never under a script's name, and the next run completes over it.
#
#   tests/kill_test.sh TORVANE GENSECTOR RUNS [WORK_DIR]
#
# WORK_DIR (default: a new directory under /tmp) is emptied and refilled.
# Exits 1 at the first run that breaks a rule, naming it.
set -euo pipefail

if [[ $# -lt 3 || $# -gt 4 ]]; then
  echo "usage: $0 TORVANE GENSECTOR RUNS [WORK_DIR]" >&2
  exit 2
fi
torvane=$(realpath "$1")
gensector=$(realpath "$2")
runs=$3
work=${4:-$(mktemp -d /tmp/torvane-kill.XXXXXX)}
rm -rf "$work"
mkdir -p "$work/campaign"
cd "$work"

for ((i = 1; i <= 64; i++)); do
  (cd campaign && "$gensector" "$i" 50 "$(printf 'sec%02d' "$i")")
done
sectors=(campaign/*)
options=(-s+ -x+)

# The asteroid symbols are drawn at random, so scripts are compared with
# their digits masked. Masks every script and backup in a directory in
# place and prints "hash name" for each.
masked_hashes() {
  (cd "$1" && find . -maxdepth 1 -type f \( -name '*.scr' -o -name '*.$$$' \) -printf '%f\0' |
    xargs -0 -r sed -i 's/^INSSYM Asteroid [1-8]/INSSYM Asteroid #/' &&
    find . -maxdepth 1 -type f \( -name '*.scr' -o -name '*.$$$' \) -printf '%f\0' |
    xargs -0 -r md5sum)
}

fail() {
  echo "$0: $*" >&2
  exit 1
}

# The older backups, the earlier scripts and the new ones, each with other
# hex numbers; an uninterrupted run gives its duration.
mkdir older earlier new start
"$torvane" -s+ -xu -d older "${sectors[@]}" >/dev/null
"$torvane" -s+ -xn -d earlier "${sectors[@]}" >/dev/null
start=$(date +%s%N)
"$torvane" "${options[@]}" -d new "${sectors[@]}" >/dev/null
duration_ms=$((($(date +%s%N) - start) / 1000000 + 1))
declare -A older_hash earlier_hash new_hash
while read -r hash name; do older_hash[${name%.scr}]=$hash; done < <(masked_hashes older)
while read -r hash name; do earlier_hash[${name%.scr}]=$hash; done < <(masked_hashes earlier)
while read -r hash name; do new_hash[${name%.scr}]=$hash; done < <(masked_hashes new)
names=("${!new_hash[@]}")
# What each run starts from: the earlier scripts, and the older backups.
for name in "${names[@]}"; do
  mv "earlier/$name.scr" "start/$name.scr"
  mv "older/$name.scr" "start/$name.\$\$\$"
done
echo "${#sectors[@]} sectors, ${#names[@]} scripts, an uninterrupted run takes ${duration_ms} ms"

# Checks the output directory after a run that `signal` stopped (or that
# ended first) with `status`: prints, for each script name, the whole script
# that the next run must keep as its backup.
check_after() {
  local signal=$1 status=$2 name hash
  case $signal/$status in
    INT/130 | KILL/137 | */0) ;;
    *) fail "a run sent SIG$signal ended with status $status" ;;
  esac
  local temporary
  temporary=$(find out -name '.torvane-*.tmp' | wc -l)
  [[ $signal == INT && $temporary -gt 0 ]] && fail "Ctrl-C left $temporary temporary files"
  declare -A script backup
  while read -r hash name; do
    case $name in
      *.scr) script[${name%.scr}]=$hash ;;
      *.'$$$') backup[${name%.\$\$\$}]=$hash ;;
    esac
  done < <(masked_hashes out)
  [[ $(find out -type f ! -name '*.scr' ! -name '*.$$$' ! -name '.torvane-*.tmp' | wc -l) == 0 ]] ||
    fail "files other than scripts, backups and temporary files after SIG$signal"
  for name in "${names[@]}"; do
    local s=${script[$name]:-none} b=${backup[$name]:-none}
    [[ $s == none || $s == "${new_hash[$name]}" || $s == "${earlier_hash[$name]}" ]] ||
      fail "$name.scr is neither the new script nor the earlier one after SIG$signal"
    [[ $b == none || $b == "${earlier_hash[$name]}" || $b == "${older_hash[$name]}" ]] ||
      fail "$name.\$\$\$ is neither the earlier script nor the older backup after SIG$signal"
    [[ $s == "${earlier_hash[$name]}" || $b == "${earlier_hash[$name]}" ]] ||
      fail "the earlier $name.scr was lost after SIG$signal"
    echo "$name ${script[$name]:-${backup[$name]}}"
  done
}

# The next run over what a kill left completes, and keeps as each backup
# the whole script that was there.
check_next_run() {
  local kept=$1 name hash
  "$torvane" "${options[@]}" -d out "${sectors[@]}" >/dev/null || fail "the run after a kill failed"
  declare -A after
  while read -r hash name; do after[$name]=$hash; done < <(masked_hashes out)
  while read -r name hash; do
    [[ ${after[$name.scr]} == "${new_hash[$name]}" ]] || fail "the run after a kill wrote $name.scr wrong"
    [[ ${after[$name.\$\$\$]} == "$hash" ]] || fail "the run after a kill lost the backup of $name"
  done <<<"$kept"
}

# A job started with SIGINT ignored, as a script's background jobs are,
# goes on to the end when it gets one.
rm -rf out
cp -r start out
"$torvane" "${options[@]}" -d out "${sectors[@]}" >/dev/null &
pid=$!
sleep "$(awk -v ms=$((duration_ms / 2)) 'BEGIN { printf "%.3f", ms / 1000 }')"
kill -s INT "$pid" 2>/dev/null || true
status=0
wait "$pid" || status=$?
[[ $status == 0 ]] || fail "a run started with SIGINT ignored ended with status $status"
while read -r hash name; do
  [[ $name != *.scr || $hash == "${new_hash[${name%.scr}]}" ]] || fail "$name is not whole"
done < <(masked_hashes out)

for ((run = 1; run <= runs; run++)); do
  for signal in KILL INT; do
    rm -rf out
    cp -r start out
    # A script's background jobs start with SIGINT ignored, which torvane
    # keeps: this one takes it as a terminal's Ctrl-C would.
    env --default-signal=INT "$torvane" "${options[@]}" -d out "${sectors[@]}" >/dev/null &
    pid=$!
    sleep "$(awk -v ms=$(((RANDOM * 32768 + RANDOM) % duration_ms)) 'BEGIN { printf "%.3f", ms / 1000 }')"
    kill -s "$signal" "$pid" 2>/dev/null || true
    status=0
    wait "$pid" 2>/dev/null || status=$?
    kept=$(check_after "$signal" "$status")
    if [[ $signal == KILL ]]; then check_next_run "$kept"; fi
  done
  echo "run $run of $runs: killed and interrupted, every script whole"
done
rm -rf "$work"
