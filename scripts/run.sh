#!/usr/bin/env bash
# Installs what building and running Kalvena needs (not the tools of its tests), builds it and
# starts it. Arguments are passed to the program.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --run
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DKALVENA_BUILD_TESTS=OFF \
  -DKALVENA_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build -j "$(nproc)" --target kalvena

# The build writes down where it put the program. Without a display the program says so itself,
# in the locale's language, and --help and --version need none.
exec "$(cat build/kalvena-program)" "$@"
