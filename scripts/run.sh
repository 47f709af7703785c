#!/usr/bin/env bash
# Installs what the program needs, builds it, and starts it (arguments are passed on,
# for example a document to open). The tests are not built here: see scripts/test.sh.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build"
"$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -DKESTROVA_WERROR=ON -DKESTROVA_TESTS=OFF -DKESTROVA_BENCH=OFF
cmake --build "$build" --parallel "$(nproc)" --target kestrova kestrova-cli kestrova-render

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "Kestrova cannot show its window because no display is available (DISPLAY and" \
         "WAYLAND_DISPLAY are not set); use kestrova-cli for the results on the command" \
         "line, or run the window under a virtual display with xvfb-run (for example:" \
         "xvfb-run kestrova)." >&2
    exit 1
fi

# The program reads the print image SVET0.bmp from the current folder first.
cd "$build"
exec "$build/kestrova" "$@"
