#!/usr/bin/env bash
# Builds the fuzzers (clang, libFuzzer, ASan + UBSan) and runs each for a
# while, starting from its regression corpus (tests/designs/corpus/prototypes,
# tests/designs/corpus/spset, tests/designs/corpus/design_json; the PNG fuzzer
# starts from tests/services/corpus/png and the shared PNG test data, read where
# it lies). New inputs go to
# build-fuzz/corpus-NAME; a crash leaves build-fuzz/crash-NAME-*, which
# belongs in the regression corpus once the fault is fixed. Not part of ./test.
#   scripts/fuzz.sh [seconds per target, default 60] [target ...]
# Targets: prototypes spset png design_json (default: all, one after the other).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh

SECONDS_PER_TARGET=${1:-60}
shift || true
TARGETS=("$@")
[ ${#TARGETS[@]} -gt 0 ] || TARGETS=(prototypes spset png design_json)
BUILD=build-fuzz
TESTDATA=${KEELWRIGHT_TESTDATA:-$(cd .. && pwd)/shared/testdata}
CC=clang CXX=clang++ cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKEELWRIGHT_FUZZ=ON -DKEELWRIGHT_TESTS=OFF -DKEELWRIGHT_BENCH=OFF \
  -DCMAKE_C_FLAGS="-fsanitize=address,undefined,fuzzer-no-link" \
  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined,fuzzer-no-link" >/dev/null
cmake --build "$BUILD" -j2 --target "${TARGETS[@]/#/fuzz_}"

export ASAN_OPTIONS="detect_leaks=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
for target in "${TARGETS[@]}"; do
  work="$BUILD/corpus-$target"
  mkdir -p "$work"
  case $target in
    png) seeds=(tests/services/corpus/png)
         [ -d "$TESTDATA/png" ] && seeds+=("$TESTDATA/png/pngsuite" "$TESTDATA/png/corrupt")
         max_len=16384 ;;
    design_json) seeds=("tests/designs/corpus/$target"); max_len=16384 ;;
    *)   seeds=("tests/designs/corpus/$target"); max_len=4096 ;;
  esac
  "$BUILD/fuzz/fuzz_$target" -max_total_time="$SECONDS_PER_TARGET" -max_len=$max_len \
    -artifact_prefix="$BUILD/crash-$target-" "$work" ${seeds[@]+"${seeds[@]}"}
done
