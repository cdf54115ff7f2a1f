#!/usr/bin/env bash
# Builds the fuzzers with clang and runs each for a bounded time from the committed corpus.
#   scripts/fuzz.sh [seconds per fuzzer, default 30]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
scripts/install-deps.sh
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKALVENA_FUZZ=ON -DKALVENA_WERROR=ON >/dev/null
cmake --build build-fuzz
# What a fuzzer finds (crash-*, leak-*, timeout-*) is written under the build directory.
artifacts=build-fuzz/artifacts
mkdir -p "$artifacts"
for fuzzer in check_number design measurement_file result_text response; do
  work=$(mktemp -d)
  echo "== fuzzing $fuzzer for ${seconds}s"
  # New inputs go to a scratch directory; the committed corpus is only read.
  status=0
  build-fuzz/fuzz/${fuzzer}_fuzz -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$artifacts/${fuzzer}-" \
    "$work" "fuzz/corpus/$fuzzer" >"$work.log" 2>&1 || status=$?
  if [[ $status -ne 0 ]]; then
    tail -40 "$work.log" >&2
    echo "fuzzer $fuzzer failed; what it found is in $artifacts" >&2
    exit 1
  fi
  grep -E "^Done" "$work.log"
  rm -rf "$work" "$work.log"
done
