#!/usr/bin/env bash
# Installs the Debian packages that building and testing everything needs,
# or with `site` only those that building the web page needs: with apt-get
# when run as root, through sudo otherwise. Packages already installed are
# left alone, so nothing is asked for when all are there.
#
#   tools/install-deps.sh [site]
set -euo pipefail

packages=(
  cmake ninja-build g++          # the build
  googletest libgtest-dev        # the tests (sources, or the built library)
  libpugixml-dev                 # torvane-import reads XML
  zlib1g-dev                     # the preview pixel test decodes PNG
  libxml2-utils                  # xmllint checks the previews are well formed
  chromium fonts-dejavu-core     # the preview pixel test draws an SVG
  clang libclang-rt-14-dev       # the fuzz targets
  mandoc                         # the man pages are linted
  dpkg-dev file                  # the Debian package's dependencies
  g++-mingw-w64-x86-64-posix     # the Windows build
  wine64 tmux                    # the Windows tests (tmux: a console of the program's own)
  emscripten                     # the WebAssembly build
  ca-certificates                # node warns on every start without them
)
if [ "${1:-}" = site ]; then
  packages=(
    cmake ninja-build g++        # the build
    emscripten                   # the WebAssembly build
    dpkg-dev                     # apt-get source unpacks pugixml's source with it
    ca-certificates              # node warns on every start without them
  )
fi
# The web page's zip library and browser test tools come from the npm
# registry; Debian's nodejs has no npm of its own (another nodejs may).
command -v npm >/dev/null || packages+=(npm)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed"; then
    missing+=("$package")
  fi
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=()
if [ "$(id -u)" != 0 ]; then
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
# apt is quiet for minutes while it downloads and unpacks: of what it says,
# keep the sizes up front and one line for each package as it is
# downloaded, unpacked and set up (dpkg ends its lines with CR LF).
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}" |
  sed -u -n -E \
    -e 's/\r$//' \
    -e '/^[0-9]+ upgraded, |^Need to get |^After this operation, /p' \
    -e 's/^Get:[0-9]+ .* ([^ ]+) [^ ]+ ([^ ]+) (\[.*\])$/  downloading \1 \2 \3/p' \
    -e 's/^Unpacking ([^ ]+) .*/  unpacking \1/p' \
    -e 's/^Setting up ([^ ]+) .*/  setting up \1/p'
