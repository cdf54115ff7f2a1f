#!/usr/bin/env bash
# Started where no window can be opened, the program says so in one line and exits with 1.
#   no_display_test.sh <kalvena executable>
set -uo pipefail
program=$1
failed=0
check() {
  local what=$1
  shift
  local err status
  err=$(env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY "$@" "$program" 2>&1 >/dev/null)
  status=$?
  local lines
  lines=$(printf '%s\n' "$err" | grep -c .)
  if [[ $status -ne 1 || $lines -ne 1 || $err != kalvena:* ]]; then
    echo "FAIL $what: status $status, $lines lines: $err"
    failed=1
  else
    echo "ok   $what: $err"
  fi
}
check "no DISPLAY" -u DISPLAY
check "a DISPLAY where no server answers" DISPLAY=:199
check "Wayland without a compositor" -u DISPLAY QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=kalvena-none
exit $failed
