#!/usr/bin/env bash
# Configures and builds into a build folder.
# Usage: scripts/build.sh [BUILD_DIR] [extra cmake arguments...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
shift || true
cmake -S "$root" -B "$build" -DKESTROVA_WERROR=ON "$@"
cmake --build "$build" --parallel "$(nproc)"
