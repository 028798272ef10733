#!/usr/bin/env bash
# Builds the design file fuzzers (clang, libFuzzer, ASan + UBSan) and runs
# each for a while, starting from the regression corpus in
# tests/designs/corpus/. New inputs go to build-fuzz/corpus-NAME; a crash
# leaves build-fuzz/crash-NAME-*, which belongs in the regression corpus once
# the fault is fixed. Not part of ./test.
#   scripts/fuzz.sh [seconds per target, default 60]
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh

SECONDS_PER_TARGET=${1:-60}
BUILD=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKEELWRIGHT_FUZZ=ON -DKEELWRIGHT_TESTS=OFF -DKEELWRIGHT_BENCH=OFF \
  -DCMAKE_C_FLAGS="-fsanitize=address,undefined,fuzzer-no-link" \
  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined,fuzzer-no-link" >/dev/null
cmake --build "$BUILD" -j2 --target fuzz_prototypes fuzz_spset

export ASAN_OPTIONS="detect_leaks=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
for target in prototypes spset; do
  work="$BUILD/corpus-$target"
  mkdir -p "$work"
  "$BUILD/fuzz/fuzz_$target" -max_total_time="$SECONDS_PER_TARGET" -max_len=4096 \
    -artifact_prefix="$BUILD/crash-$target-" "$work" "tests/designs/corpus/$target"
done
