#!/usr/bin/env bash
# Starts a command under `xvfb-run -a`, as the README says, waits for the window titled
# "Kalvena" to appear on that virtual display, checks that its WM_CLASS is the .desktop
# file's StartupWMClass, clicks its exit button "Изход", and checks that the command then
# ends with status 0.
#   window_test.sh <first display number to try> <command> [arguments]
set -euo pipefail
first=$1
shift
work=$(mktemp -d)
trap 'kill "$runner" 2>/dev/null || true; rm -rf "$work"' EXIT

# The auth file is named so that the display xvfb-run picked can be read from it. The program
# gets the X display: a platform set for the tests (offscreen) would open no window there.
env -u QT_QPA_PLATFORM xvfb-run -a -n "$first" -f "$work/auth" "$@" >"$work/log" 2>&1 &
runner=$!
window=
for _ in $(seq 1200); do  # the command may build the program first: up to 10 minutes
  kill -0 "$runner" 2>/dev/null || break
  display=$(xauth -f "$work/auth" list 2>/dev/null | sed -n 's/^[^:]*:\([0-9]*\) .*/\1/p' | head -1)
  if [[ -n $display ]]; then
    window=$(DISPLAY=:$display XAUTHORITY=$work/auth \
      xdotool search --onlyvisible --name '^Kalvena$' 2>/dev/null | head -1) || true
    [[ -n $window ]] && break
  fi
  sleep 0.5
done
if [[ -z $window ]]; then
  echo "FAIL: no window titled Kalvena appeared for: $*"
  cat "$work/log"
  exit 1
fi
# A dock links the running window to the menu entry by the class of its WM_CLASS.
desktop=$(dirname "$0")/../packaging/org.kalvena.kalvena.desktop
startup_class=$(sed -n 's/^StartupWMClass=//p' "$desktop")
wm_class=$(DISPLAY=:$display XAUTHORITY=$work/auth xprop -id "$window" WM_CLASS)
if [[ $wm_class != *", \"$startup_class\"" ]]; then
  echo "FAIL: the window's $wm_class does not end in the .desktop file's StartupWMClass $startup_class"
  exit 1
fi
# The exit button of the 12 dB/oct window: 4680, 6480 twips, 615 × 255. A window just mapped
# may not take a click yet (a loaded machine): the click is tried again, up to five times.
# The display goes away with the program, which xdotool may report as a broken connection.
for _ in 1 2 3 4 5; do
  DISPLAY=:$display XAUTHORITY=$work/auth xdotool mousemove --window "$window" 332 440 click 1 \
    2>/dev/null || true
  for _ in $(seq 12); do
    kill -0 "$runner" 2>/dev/null || break 2
    sleep 0.5
  done
done
if kill -0 "$runner" 2>/dev/null; then
  echo "FAIL: the program did not end when its exit button was clicked: $*"
  exit 1
fi
status=0
wait "$runner" || status=$?
if [[ $status -ne 0 ]]; then
  echo "FAIL: ended with status $status: $*"
  cat "$work/log"
  exit 1
fi
echo "ok: the window appeared and its exit button ended the program: $*"
