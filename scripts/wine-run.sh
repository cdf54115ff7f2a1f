#!/usr/bin/env bash
# Runs a Windows program under Wine, in the prefix and on the display that the caller set up
# (scripts/test-windows.sh); the program's exit status is Wine's. KALVENA_WINE_DPI (96 unless
# set) is the prefix's screen resolution for the run, as Windows' display scale sets it: 120
# is 125 %, 144 is 150 %, 192 is 200 %. KALVENA_WINE_SMOOTHING=1 turns font smoothing on as
# Windows sets it (ClearType); otherwise it is off, as in a fresh prefix.
set -euo pipefail
export WINEDEBUG=${WINEDEBUG:--all}
dpi=${KALVENA_WINE_DPI:-96}
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
desktop='HKCU\Control Panel\Desktop'
if [[ ${KALVENA_WINE_SMOOTHING:-0} == 1 ]]; then
  wine reg add "$desktop" /v FontSmoothing /t REG_SZ /d 2 /f >/dev/null 2>&1
  wine reg add "$desktop" /v FontSmoothingType /t REG_DWORD /d 2 /f >/dev/null 2>&1
else
  wine reg add "$desktop" /v FontSmoothing /t REG_SZ /d 0 /f >/dev/null 2>&1
  wine reg add "$desktop" /v FontSmoothingType /t REG_DWORD /d 1 /f >/dev/null 2>&1
fi
exec wine "$@"
