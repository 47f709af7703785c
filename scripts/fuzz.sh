#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (core only, no Qt) and runs each for a fixed
# number of runs from its seed corpus in tests/fuzz/corpus (the document reader with
# Qt Core, the others core only). A finding stops with a
# non-zero status and leaves its input in the build folder (crash-*, leak-*, ...).
# Usage: scripts/fuzz.sh [BUILD_DIR] [RUNS_SCALE]   (RUNS_SCALE multiplies the runs)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-fuzz}"
scale="${2:-1}"
"$root/scripts/setup.sh"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DKESTROVA_WERROR=ON -DKESTROVA_FUZZ=ON \
    -DKESTROVA_GUI=OFF -DKESTROVA_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo
targets=(fuzz_fields fuzz_cli_args fuzz_dates fuzz_gazetteer fuzz_document)
cmake --build "$build" --parallel "$(nproc)" --target "${targets[@]}"

# Runs per target: about a minute in all on two cores.
declare -A runs=([fuzz_fields]=100000 [fuzz_cli_args]=200000 [fuzz_dates]=500000 [fuzz_gazetteer]=50000
              [fuzz_document]=100000)
for t in "${targets[@]}"; do
    corpus="$build/corpus/$t"
    mkdir -p "$corpus"
    n=$((runs[$t] * scale))
    start=$(date +%s)
    # -close_fd_mask=2: the readers' messages are not the fuzzer's report, which
    # libFuzzer keeps on its own copy of stderr.
    "$build/tests/fuzz/$t" -runs="$n" -max_len=256 -close_fd_mask=2 -print_final_stats=1 \
        -artifact_prefix="$build/" "$corpus" "$root/tests/fuzz/corpus/$t" \
        >"$build/$t.log" 2>&1 || { tail -40 "$build/$t.log"; echo "$t: finding"; exit 1; }
    echo "$t: $n runs in $(($(date +%s) - start)) s, no finding"
done
