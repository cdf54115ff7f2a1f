#!/usr/bin/env bash
# Cross-builds the Windows program and runs its tests under Wine on a virtual X display: the
# core tests, and the Win32 toolkit's tests that drive the real windows.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build-windows.sh

# Two Wine prefixes of the build's own, each made once (about 15 s): one with Windows' dialog
# face and symbol font copied in, as on Windows, and one as Wine makes it, with nothing copied
# in (wine-plain), as a Linux user's first run meets it.
export WINEPREFIX=$PWD/build-windows/wine
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
xvfb-run -a -s "-screen 0 1600x1200x24" bash -c '
  set -e
  for prefix in "$WINEPREFIX" "$(dirname "$WINEPREFIX")/wine-plain"; do
    if [[ ! -f "$prefix/system.reg" ]]; then
      WINEPREFIX=$prefix wineboot -i >/dev/null 2>&1 || true
      WINEPREFIX=$prefix wineserver -w
      if [[ $prefix == "$WINEPREFIX" ]]; then
        cp /usr/share/wine/fonts/tahoma.ttf /usr/share/wine/fonts/tahomabd.ttf \
          /usr/share/wine/fonts/marlett.ttf "$prefix/drive_c/windows/Fonts/"
      fi
    fi
    # There is no window manager on the virtual display: Wine manages the windows itself, rather
    # than waiting two seconds for a manager to hide each window it destroys.
    if ! said=$(WINEPREFIX=$prefix wine reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed \
      /t REG_SZ /d N /f 2>&1); then
      echo "test-windows.sh: Wine could not be told to manage its windows in $prefix: $said" >&2
      exit 1
    fi
  done
  status=0
  ctest --test-dir build-windows/cross --output-on-failure || status=$?
  wineserver -k || true
  WINEPREFIX="$(dirname "$WINEPREFIX")/wine-plain" wineserver -k || true
  exit $status
'
