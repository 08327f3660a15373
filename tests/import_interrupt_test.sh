#!/usr/bin/env bash
# Interrupts torvane-import at random moments while it writes a sector
# directory, RUNS times each with SIGINT and SIGKILL, into a new directory
# and over an existing one with --force. Afterwards every file of the
# sector directory is whole: a new directory is there with all its files or
# not at all, and each replaced file holds its old text or its new one.
# Ctrl-C leaves nothing temporary behind; after a kill the next import
# completes over what is left.
#
#   tests/import_interrupt_test.sh TORVANE_IMPORT RUNS [WORK_DIR]
set -euo pipefail

if [[ $# -lt 2 || $# -gt 3 ]]; then
  echo "usage: $0 TORVANE_IMPORT RUNS [WORK_DIR]" >&2
  exit 2
fi
import=$(realpath "$1")
runs=$2
work=${3:-$(mktemp -d /tmp/torvane-import-interrupt.XXXXXX)}
rm -rf "$work"
mkdir -p "$work"
cd "$work"

fail() {
  echo "$0: $*" >&2
  exit 1
}

# A sector with a world in every hex, so that the import takes a while.
{
  printf 'Hex\tName\tUWP\tPBG\tAllegiance\n'
  for ((x = 1; x <= 32; x++)); do
    for ((y = 1; y <= 40; y++)); do
      printf '%02d%02d\tWorld %02d%02d\tA788899-C\t123\tIm\n' "$x" "$y" "$x" "$y"
    done
  done
} >wide.tab
# The new files and the earlier ones (other names), in directories named
# as the one imported into, whose name the data file takes.
"$import" wide.tab new/out >/dev/null
start=$(date +%s%N)
"$import" --force wide.tab new/out >/dev/null
duration_ms=$((($(date +%s%N) - start) / 1000000 + 1))
sed 's/World/Earlier/' wide.tab >earlier.tab
"$import" earlier.tab earlier/out >/dev/null
files=$(cd new/out && find . -type f | sort)
echo "$(wc -l <<<"$files") files, an uninterrupted import takes ${duration_ms} ms"

# Each file in `out` is the new one or, when `earlier` is given, the earlier
# one; with `whole`, every file is there.
check_files() {
  local whole=$1 earlier=${2:-} file
  while read -r file; do
    if [[ ! -e out/$file ]]; then
      [[ $whole == no ]] || fail "$file is missing from an imported directory"
      continue
    fi
    cmp -s "out/$file" "new/out/$file" && continue
    [[ -n $earlier ]] && cmp -s "out/$file" "$earlier/out/$file" && continue
    fail "$file is neither the new file nor the earlier one"
  done <<<"$files"
}

for ((run = 1; run <= runs; run++)); do
  for signal in INT KILL; do
    for into in new existing; do
      rm -rf out .out.torvane-import
      [[ $into == existing ]] && cp -r earlier/out out
      env --default-signal=INT "$import" --force wide.tab out >/dev/null 2>&1 &
      pid=$!
      sleep "$(awk -v ms=$(((RANDOM * 32768 + RANDOM) % duration_ms)) 'BEGIN { printf "%.3f", ms / 1000 }')"
      kill -s "$signal" "$pid" 2>/dev/null || true
      status=0
      wait "$pid" 2>/dev/null || status=$?
      case $signal/$status in
        INT/130 | KILL/137 | */0) ;;
        *) fail "an import sent SIG$signal ended with status $status" ;;
      esac
      if [[ $signal == INT ]]; then
        [[ ! -e .out.torvane-import ]] || fail "Ctrl-C left the directory being built"
        [[ -z $(find . -name '.torvane-*.tmp') ]] || fail "Ctrl-C left a temporary file"
      fi
      if [[ $into == new ]]; then
        [[ ! -e out ]] || check_files yes
      else
        check_files yes earlier
      fi
      if [[ $signal == KILL ]]; then
        "$import" --force wide.tab out >/dev/null || fail "the import after a kill failed"
        check_files yes
      fi
    done
  done
  echo "run $run of $runs: interrupted and killed, every file whole"
done
rm -rf "$work"
