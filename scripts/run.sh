#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$build"
cd "$build"
if [ -x "$build/kestrova" ]; then
    exec "$build/kestrova" "$@"
fi
# Until the window exists, show what the command-line program computes.
exec "$build/kestrova-cli" ephemeris 29 3 2006 10 11 17.67
