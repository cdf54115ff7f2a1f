#!/usr/bin/env bash
# Installs what is missing, builds Kalvena and starts it. Arguments are passed to the program.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)" --target kalvena

if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} && -z ${QT_QPA_PLATFORM:-} ]]; then
  echo "kalvena: no display to open a window on; run this from a desktop session, or for a quick look on a virtual display that nobody sees: xvfb-run -a scripts/run.sh" >&2
  exit 1
fi
# The build writes down where it put the program.
exec "$(cat build/kalvena-program)" "$@"
