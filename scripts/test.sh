#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
# Usage: scripts/test.sh [BUILD_DIR] [extra cmake arguments...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
shift || true
"$root/scripts/setup.sh" --tests
"$root/scripts/build.sh" "$build" -DKESTROVA_TESTS=ON -DKESTROVA_BENCH=ON "$@"
cd "$build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 600
