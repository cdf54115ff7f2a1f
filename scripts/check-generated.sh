#!/usr/bin/env bash
# Checks that the committed pictures and icons are exactly what their sources make:
# tools/draw_pictures.py for the twelve drawings, the icon tool for kalvena.ico and the PNGs.
#   scripts/check-generated.sh <build directory with tools/make_icon>
set -euo pipefail
cd "$(dirname "$0")/.."
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 tools/draw_pictures.py "$work/images" >/dev/null
for svg in "$work"/images/*.svg; do
  cmp "$svg" "ui/images/$(basename "$svg")" || {
    echo "ui/images/$(basename "$svg") differs from what tools/draw_pictures.py draws" >&2
    exit 1
  }
done

mkdir -p "$work/icons"
QT_QPA_PLATFORM=offscreen "$build/tools/make_icon" ui/images/sun.svg "$work/kalvena.ico" \
  "$work/icons" 2>/dev/null
cmp "$work/kalvena.ico" ui/images/kalvena.ico
# The PNGs as pictures: Qt blends edges a step differently on other processors.
for png in "$work"/icons/*.png; do
  QT_QPA_PLATFORM=offscreen "$build/tools/make_icon" --compare "$png" \
    "packaging/icons/$(basename "$png")" 2>/dev/null ||
    { echo "packaging/icons/$(basename "$png") is not what make_icon draws" >&2; exit 1; }
done
echo "pictures and icons match their sources"
