#!/usr/bin/env bash
# Installs the Debian packages Kestrova needs. Does nothing when they are all present;
# needs root (or sudo) otherwise.
#
#   scripts/setup.sh          what the program needs to build and run
#   scripts/setup.sh --tests  that, and what the tests and the benchmarks need
set -euo pipefail

# Building and running: the compiler, Qt 6 with its platform plugins, libxcb (the
# window program checks that the X display answers before Qt starts), ERFA (the IAU's
# library: nutation, obliquity and sidereal time of the precise ephemeris), and the
# fonts the map's texts use.
packages=(cmake g++ make pkg-config qt6-base-dev qt6-qpa-plugins libxcb1-dev liberfa-dev
          fonts-liberation tzdata)
if [ "${1:-}" = "--tests" ]; then
    # GoogleTest and Google Benchmark; a virtual display and PDF tools for the window
    # and print checks; the validators of the installed desktop entry and metainfo.
    packages+=(googletest libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth
               poppler-utils desktop-file-utils appstream clang libclang-rt-dev)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
