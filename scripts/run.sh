#!/usr/bin/env bash
# Installs what is missing, builds the program, and starts it (arguments are passed on).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build"
"$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -DKESTROVA_WERROR=ON
cmake --build "$build" --parallel "$(nproc)" --target kestrova kestrova-cli
# The program reads the print image SVET0.bmp from the current folder.
cd "$build"
exec "$build/kestrova" "$@"
