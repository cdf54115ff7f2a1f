#!/usr/bin/env bash
# Runs a Windows program under Wine, in the prefix and on the display that the caller set up
# (scripts/test-windows.sh); the program's exit status is Wine's. KALVENA_WINE_DPI (96 unless
# set) is the prefix's screen resolution for the run, as Windows' display scale sets it: 120
# is 125 %, 144 is 150 %, 192 is 200 %. KALVENA_WINE_SMOOTHING=1 turns font smoothing on as
# Windows sets it (ClearType); otherwise it is off, as in a fresh prefix.
set -euo pipefail
export WINEDEBUG=${WINEDEBUG:--all}
dpi=${KALVENA_WINE_DPI:-96}
desktop='HKCU\Control Panel\Desktop'
# Sets a value of the prefix's registry. Wine can fail to start while the wineserver of the
# run before is ending: then it waits for that server to end and tries again; a value that
# still cannot be set stops the run, with what Wine said.
setting() {
  local said
  for _ in 1 2 3; do
    said=$(wine reg add "$@" /f 2>&1) && return 0
    wineserver -w 2>/dev/null || true
  done
  echo "wine-run.sh: could not set $* in the prefix ${WINEPREFIX:-$HOME/.wine}: $said" >&2
  return 1
}
setting "$desktop" /v LogPixels /t REG_DWORD /d "$dpi"
if [[ ${KALVENA_WINE_SMOOTHING:-0} == 1 ]]; then
  setting "$desktop" /v FontSmoothing /t REG_SZ /d 2
  setting "$desktop" /v FontSmoothingType /t REG_DWORD /d 2
else
  setting "$desktop" /v FontSmoothing /t REG_SZ /d 0
  setting "$desktop" /v FontSmoothingType /t REG_DWORD /d 1
fi
exec wine "$@"
