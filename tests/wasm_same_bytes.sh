#!/usr/bin/env bash
# The WebAssembly programs under node give what the native ones give: each
# case runs once with each, in two copies of the same made-up files, and the
# files written, standard output, standard error and exit status must be the
# same bytes (the asteroid digits of scripts masked, as they are random).
#
#   tests/wasm_same_bytes.sh NATIVE_BUILD_DIR WASM_NODE_DIR
#
# NATIVE_BUILD_DIR holds torvane, torvane-import, torvane-preview and
# bench/torvane-gensector; WASM_NODE_DIR the node scripts of the same names.
set -euo pipefail

if [[ $# -ne 2 ]]; then
  echo "usage: $0 NATIVE_BUILD_DIR WASM_NODE_DIR" >&2
  exit 2
fi
native=$(realpath "$1")
node_dir=$(realpath "$2")
examples=$(realpath "$(dirname "$0")/../examples")
work=$(mktemp -d /tmp/torvane-wasm.XXXXXX)
trap 'rm -rf "$work"' EXIT

# The made-up input every case starts from.
seed=$work/seed
mkdir -p "$seed/out"
cp -r "$examples/lyra" "$seed/"
(cd "$seed" && for i in 1 2 3; do "$native/bench/torvane-gensector" "$i" $((i * 30)) "gen$i"; done)
rm "$seed/gen2/map/SUBC.DAT"
printf 'Hex\tName\tUWP\tBases\tRemarks\tZone\tPBG\tAllegiance\tStars\n0101\tAlpha\tA788899-C\tNS\tHi Cp\tA\t123\tImDd\tG2 V\n0x02\tBroken\tA788899-C\n3240\tOmega\tB000000-9\t\tAs\t\t0B0\tZhIN\tM0 V\n' >"$seed/reach.tab"
cat >"$seed/reach.xml" <<'XML'
<?xml version="1.0"?>
<Sector><Name>Reach</Name>
  <Subsectors><Subsector Index="A">First</Subsector><Subsector Index="P">Last</Subsector></Subsectors>
  <Routes><Route Start="0101" End="3240" Type="Trade"/></Routes>
</Sector>
XML
printf 'Alpha         0101 A788899-C  A Hi Cp           A  123 Im G2 V\nA Name Too Long For It   0102 A788899-C\n' >"$seed/old.sec"

failures=0
# same NAME PROGRAM ARGUMENTS...: runs the case with both builds and compares.
same() {
  local name=$1 program=$2
  shift 2
  for build in native wasm; do
    rm -rf "$work/$build" && cp -r "$seed" "$work/$build"
    local command=("$native/$program")
    [[ $build == wasm ]] && command=(node "$node_dir/$program.js")
    set +e
    (cd "$work/$build" && "${command[@]}" "$@" >"$work/$build.stdout" 2>"$work/$build.stderr")
    echo "status $?" >>"$work/$build.stdout"
    set -e
    find "$work/$build" -type f \( -name '*.scr' -o -name '*.$$$' \) -print0 |
      xargs -0 -r sed -i 's/^INSSYM Asteroid [1-8]/INSSYM Asteroid #/'
  done
  if diff -r "$work/native" "$work/wasm" >"$work/diff" &&
    cmp -s "$work/native.stdout" "$work/wasm.stdout" &&
    cmp -s "$work/native.stderr" "$work/wasm.stderr"; then
    echo "same: $name"
  else
    echo "DIFFERENT: $name" >&2
    head -20 "$work/diff" >&2
    diff "$work/native.stdout" "$work/wasm.stdout" >&2 || true
    diff "$work/native.stderr" "$work/wasm.stderr" >&2 || true
    failures=$((failures + 1))
  fi
}

same "example, every subsector" torvane -s+ lyra
same "made-up sectors, every item" torvane -s+ -xa -y 1105 -d out gen1 gen2 gen3
same "made-up sectors, items off" torvane -sbd -x- -a- -b- -g- -n- -p- -t- -z- gen1 gen3
same "unoccupied hex numbers, Windows paths" torvane -xu -saf '.\GEN1' 'c:gen3\'
same "missing sector, map file and directory" torvane -s+ nowhere gen2 -d missing lyra
same "bad options" torvane -q lyra -x
same "usage" torvane -h
same "import, tab-delimited with metadata" torvane-import --verbose reach.tab reach.xml maps/reach
same "import, the wrong way round" torvane-import reach.xml reach.tab maps/reach
same "import, older format, strict" torvane-import --strict old.sec maps/old
same "import, older format" torvane-import old.sec maps/old
# The previewer draws the native program's scripts.
(cd "$seed" && "$native/torvane" -s+ -xa -y 1105 lyra >/dev/null)
same "preview, sector" torvane-preview lyra/lyra.scr
same "preview, subsector without grid" torvane-preview --no-grid lyra/lyraF.scr pictures.svg
same "preview, not a script" torvane-preview reach.xml
same "preview, world targets of one subsector" torvane-preview --worlds=lyra/map --subsector=f lyra/lyraF.scr targets.svg
same "preview, what a drawing needs" torvane-preview --needs lyra/lyra.scr lyra/lyraF.scr

if [[ $failures -ne 0 ]]; then
  echo "$failures cases differ" >&2
  exit 1
fi
