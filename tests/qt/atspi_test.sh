#!/usr/bin/env bash
# A screen reader in another process (AT-SPI, as Orca reads) finds every caption and picture of
# both windows, with its text and its place, though the windows draw them themselves; and works
# the drivers' panel (a model typed, a Zobel switched on) through its accessible objects.
# usage: atspi_test.sh <kalvena executable> <folder of the layout tables>
set -euo pipefail
program=$1 layouts=$2
here=$(dirname "$0")
exec dbus-run-session -- xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  set -euo pipefail
  # Qt speaks to the accessibility bus only where a screen reader asked for it, or told to.
  QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb "$1" &
  program=$!
  status=0
  /usr/bin/python3 "$2/atspi_read.py" "$3/form1_layout.cpp" "$3/form2_layout.cpp" || status=$?
  kill "$program" 2>/dev/null || true
  wait "$program" 2>/dev/null || true
  exit $status
' _ "$program" "$here" "$layouts"
