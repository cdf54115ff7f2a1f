#!/usr/bin/env bash
# Switching between the windows keeps no memory, as a task manager sees the real kalvena.exe
# from outside: its private memory (RssAnon), after 40 switches made by real mouse clicks on the
# switch buttons, then three rounds of 160 more, grows by at most 64 KiB in at least one round.
# A heap still settling grows less each round (40, then 8 KiB a hundred switches, seen on a busy
# machine) and passes; memory kept by every switch grows every round alike, and fails. It runs
# in the prefix as Wine makes it, at 96 DPI, on the display that scripts/test-windows.sh gives
# the tests.
# usage: switch_rss_test.sh <wine-run.sh> <kalvena.exe> [switches a round]
set -euo pipefail
run=$1 kalvena=$2 switches=${3:-160}
warm=40 rounds=3 allowed=64
export KALVENA_WINE_DPI=96

# wine-run.sh execs Wine, which becomes kalvena.exe in the same process: the job is the program.
"$run" "$kalvena" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true; wineserver -k 2>/dev/null || true' EXIT

# Only this process's window (Wine sets _NET_WM_PID), never one that an earlier test on the same
# display is still closing; the search is asked again where a window is between map and unmap.
window() {
  local w
  for _ in $(seq 50); do
    w=$(xdotool search --pid "$pid" --onlyvisible --name '^Kalvena$' 2>/dev/null | head -1 || true)
    [[ -n $w ]] && { echo "$w"; return; }
    kill -0 "$pid" 2>/dev/null || return
    sleep 0.1
  done
}
for _ in 1 2 3 4 5 6; do [[ -n $(window) ]] && break; done
[[ -n $(window) ]] || { echo "FAIL: no window of kalvena.exe (process $pid) within 30 s"; exit 1; }
[[ $(cat "/proc/$pid/comm" 2>/dev/null) == kalvena.exe ]] || { echo "FAIL: process $pid is not kalvena.exe"; exit 1; }
# The least of a few readings a tenth of a second apart: a heap that a switch has just grown
# and not yet trimmed is not kept memory.
rss() {
  local least=
  for _ in 1 2 3 4 5; do
    local kib
    kib=$(awk '/^RssAnon/ {print $2}' "/proc/$pid/status")
    [[ -z $least || $kib -lt $least ]] && least=$kib
    sleep 0.1
  done
  echo "$least"
}

# The middle of each window's switch button: twips / 15 from the client area's corner, which
# Wine's own frame (no window manager here) puts 2 pixels right and 20 down of the window's.
# The 12 dB/oct window is the shorter.
switch() {
  local w before
  w=$(window)
  eval "$(xdotool getwindowgeometry --shell "$w")"
  if ((HEIGHT < 500)); then
    xdotool mousemove $((X + 2 + (2760 + 1815 / 2) / 15)) $((Y + 20 + (6480 + 255 / 2) / 15)) click 1
  else
    xdotool mousemove $((X + 2 + (3360 + 1815 / 2) / 15)) $((Y + 20 + (6840 + 255 / 2) / 15)) click 1
  fi
  before=$w
  for _ in $(seq 200); do
    w=$(window)
    [[ -n $w && $w != "$before" ]] && return 0
    sleep 0.02
  done
  echo "FAIL: the click at switch $n did not switch (window height $HEIGHT)"
  exit 1
}

for n in $(seq "$warm"); do switch; done
least= grown=
for round in $(seq "$rounds"); do
  start=$(rss)
  for n in $(seq "$switches"); do switch; done
  end=$(rss)
  echo "round $round: RssAnon $start KiB, after $switches switches $end KiB ($((end - start)) KiB)"
  grown+=" $((end - start))"
  [[ -z $least || $((end - start)) -lt $least ]] && least=$((end - start))
done
if ((least > allowed)); then
  echo "FAIL: every round of $switches switches kept more than $allowed KiB (KiB a round:$grown)"
  exit 1
fi
echo "the least a round of $switches switches kept: $least KiB (at most $allowed)"
