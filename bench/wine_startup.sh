#!/usr/bin/env bash
# Start-up of kalvena.exe against a bare Win32 window with one line of text, under Wine on a
# virtual X display: first painted frame and peak memory, medians of alternate starts, and their
# ratios. Wine loads DLLs far more slowly than Windows does, so it overstates what each DLL costs.
#   bench/wine_startup.sh [runs]      (after scripts/build-windows.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-21}
bench=build-windows/cross/bench/win32
for f in build-windows/kalvena.exe "$bench/first_frame.exe" "$bench/bare_window.exe"; do
  [[ -f $f ]] || { echo "$f is missing: run scripts/build-windows.sh first" >&2; exit 1; }
done
export WINEPREFIX=${WINEPREFIX:-$PWD/build-windows/wine}
export WINEDLLOVERRIDES="mscoree,mshtml="
xvfb-run -a -s "-screen 0 1600x1200x24" bash -c '
  status=0
  scripts/wine-run.sh "$0" "$1" "$2" "$3" || status=$?
  wineserver -k || true
  exit $status' "$bench/first_frame.exe" "$runs" build-windows/kalvena.exe "$bench/bare_window.exe"
