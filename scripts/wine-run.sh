#!/usr/bin/env bash
# Runs a Windows program under Wine, in the prefix and on the display that the caller set up
# (scripts/test-windows.sh); the program's exit status is Wine's. KALVENA_WINE_DPI (96 unless
# set) is the prefix's screen resolution for the run, as Windows' display scale sets it: 120
# is 125 %, 144 is 150 %, 192 is 200 %.
set -euo pipefail
export WINEDEBUG=${WINEDEBUG:--all}
dpi=${KALVENA_WINE_DPI:-96}
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
exec wine "$@"
