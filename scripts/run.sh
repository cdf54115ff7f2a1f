#!/usr/bin/env bash
# Installs what is missing, builds Kalvena and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)" --target kalvena

if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} && -z ${QT_QPA_PLATFORM:-} ]]; then
  echo "kalvena: no display to open a window on; run this from a desktop session, or under a virtual one with: apt-get install xvfb && xvfb-run scripts/run.sh" >&2
  exit 1
fi
exec build/ui/kalvena
