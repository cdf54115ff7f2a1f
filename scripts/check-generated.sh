#!/usr/bin/env bash
# Checks that the committed icons are what their source makes: the icon tool, from sun.svg,
# for kalvena.ico and the desktop PNGs.
#   scripts/check-generated.sh <build directory with tools/make_icon>
set -euo pipefail
cd "$(dirname "$0")/.."
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/icons"
QT_QPA_PLATFORM=offscreen "$build/tools/make_icon" ui/images/sun.svg "$work/kalvena.ico" \
  "$work/icons" 2>/dev/null
QT_QPA_PLATFORM=offscreen "$build/tools/make_icon" --compare-ico "$work/kalvena.ico" \
  ui/images/kalvena.ico || { echo "ui/images/kalvena.ico is not what make_icon draws" >&2; exit 1; }
# The PNGs as pictures: Qt blends edges a step differently on other processors.
for png in "$work"/icons/*.png; do
  QT_QPA_PLATFORM=offscreen "$build/tools/make_icon" --compare "$png" \
    "packaging/icons/$(basename "$png")" 2>/dev/null ||
    { echo "packaging/icons/$(basename "$png") is not what make_icon draws" >&2; exit 1; }
done
echo "the icons match their source"
