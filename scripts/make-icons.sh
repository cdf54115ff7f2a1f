#!/usr/bin/env bash
# Remakes the icons from the sun drawing ui/images/sun.svg: ui/images/kalvena.ico (16 to 256 px
# in 32-bit colour, and 32 and 16 px in 16 colours, for Windows) and
# packaging/icons/kalvena-{16,32,48,256}.png.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target make_icon
mkdir -p packaging/icons
QT_QPA_PLATFORM=offscreen build/tools/make_icon ui/images/sun.svg ui/images/kalvena.ico packaging/icons
echo "wrote ui/images/kalvena.ico and packaging/icons/kalvena-*.png"
