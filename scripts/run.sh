#!/usr/bin/env bash
# Installs what is missing, builds Kalvena and starts it. Arguments are passed to the program.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)" --target kalvena

# The build writes down where it put the program. Without a display the program says so itself,
# in the locale's language, and --help and --version need none.
exec "$(cat build/kalvena-program)" "$@"
