#!/usr/bin/env bash
# Started where there is no display (from a terminal without one, say), kalvena.exe says that it
# cannot open its window and ends with status 1, rather than running on with no window.
# usage: no_display_test.sh <wine-run.sh> <kalvena.exe>
set -uo pipefail
run=$1 kalvena=$2
said=$(mktemp "${TMPDIR:-/tmp}/kalvena-no-display.XXXXXX")
trap 'rm -f "$said"' EXIT
env -u DISPLAY -u WAYLAND_DISPLAY timeout 60 "$run" "$kalvena" 2>"$said"
status=$?
if [[ $status != 1 ]]; then
  echo "FAIL: status $status (124: still running after 60 s)"
  cat "$said"
  exit 1
fi
grep -q "^kalvena: не може да се отвори прозорец" "$said" || { echo "FAIL: nothing said"; cat "$said"; exit 1; }
echo "without a display, status 1: $(grep '^kalvena:' "$said")"
