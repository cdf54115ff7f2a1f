#!/usr/bin/env bash
# The program in a Wayland session of its own: Weston's headless backend at output scales 1 and 2,
# the program started as a desktop would (XDG_SESSION_TYPE=wayland, QT_QPA_PLATFORM unset). At
# scale 1 the session has its X server too (Xwayland, as GNOME's and KDE's have), at scale 2 it
# names one that is not there. It must run natively, with app id org.kalvena.kalvena, as a window
# of fixed size (its minimum the same as its maximum, so no compositor maximises it), say nothing
# on stderr but the protocol trace, and be whole in Weston's screenshot, which is kept in the
# working directory (wayland-scale-N.png) for a person to look at. Asked for X
# (QT_QPA_PLATFORM=xcb), it runs through Xwayland as quietly, whole (xwayland-x11.png).
# It waits for states (a socket, a window mapped, a screenshot that shows it, a process gone),
# each for a bounded time, never for a fixed one, and stops at the first failure.
#   wayland_test.sh <kalvena executable>
set -uo pipefail
program=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
work=$(mktemp -d)
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
weston_pid=
program_pid=
xvfb_pid=
cleanup() {
  for pid in $program_pid $weston_pid $xvfb_pid; do stop "$pid"; done
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL at scale $scale: $*"
  exit 1
}
wait_for() {  # wait_for <seconds> <command...>
  local until=$((SECONDS + $1))
  shift
  until "$@"; do
    ((SECONDS < until)) || return 1
    sleep 0.1
  done
}
# Ends a process and waits until it is gone; one that ignores the request is killed.
stop() {  # stop <pid>
  kill "$1" 2>/dev/null
  wait_for 10 sh -c "! kill -0 $1 2>/dev/null" || kill -9 "$1" 2>/dev/null
  wait "$1" 2>/dev/null
}
# The socket folder that a desktop's X server makes at boot (systemd-tmpfiles): Xwayland binds
# its socket there, and a new machine without a desktop has none.
if [[ ! -d /tmp/.X11-unix ]]; then
  mkdir -m 1777 /tmp/.X11-unix 2>/dev/null || sudo -n install -d -m 1777 /tmp/.X11-unix ||
    { echo "FAIL: /tmp/.X11-unix is missing and cannot be made"; exit 1; }
fi

# The window in a screenshot: whole (its ground spans the client area's size at the scale and
# touches no edge of the output), its title bar's buttons (only close: the window is of fixed
# size; Qt's own has three) and its title, read back by OCR.
#   window <png> <scale> [buttons]; sets `found` to what was read
# The screenshot is taken again until it shows the window whole, or 20 s have passed.
#   window <png> <scale> [buttons] [left top]: the last two, where the window must stand
window() {
  local buttons=${3:-1} until=$((SECONDS + 20)) at
  while :; do
    screenshot "$1"
    if found=$(python3 "$here/wayland_window.py" "$1" "$2" "$work/title.png"); then
      read -r left_now top_now _ <<<"$found"
      [[ -z ${4:-} ]] || [[ "$left_now $top_now" == "$4 $5" ]] && break
    fi
    ((SECONDS < until)) || fail "the window is not whole${4:+ at $4, $5} in $1: $(head -1 <<<"$found")"
  done
  echo "$1: $found"
  read -r _ count _ < <(grep '^buttons' <<<"$found")
  [[ $count == "$buttons" ]] || fail "its title bar has $count buttons, not $buttons, in $1"
  title=$(OMP_THREAD_LIMIT=1 tesseract "$work/title.png" - --psm 7 2>/dev/null | tr -d '\f' | xargs)
  [[ $title == Kalvena ]] || fail "its title bar reads \"$title\", not Kalvena, in $1"
}
# Weston's screenshot of the session, into the working directory as <name>.   screenshot <name>
screenshot() {
  rm -f "$work"/wayland-screenshot-*.png
  (cd "$work" && WAYLAND_DISPLAY=$socket timeout 20 weston-screenshooter >/dev/null 2>&1)
  local shot
  shot=$(ls "$work"/wayland-screenshot-*.png 2>/dev/null | head -1)
  if [[ -n $shot ]]; then
    mv "$shot" "$1"
  else
    fail "weston took no screenshot"
  fi
}

for scale in 1 2; do
  socket=kalvena-$scale
  # The pixman renderer, so that a screenshot has pixels; --debug allows the screenshooter.
  xwayland=()
  ((scale == 1)) && xwayland=(--xwayland)
  weston --backend=headless-backend.so --use-pixman --width=1024 --height=768 --scale="$scale" \
    --socket="$socket" --shell=desktop-shell.so --debug "${xwayland[@]}" \
    >"$work/weston-$scale.log" 2>&1 &
  weston_pid=$!
  if ! wait_for 20 test -S "$XDG_RUNTIME_DIR/$socket"; then
    fail "weston did not start: $(tail -3 "$work/weston-$scale.log")"
    break
  fi
  trace=$work/trace-$scale
  # The session's X server: Weston's Xwayland, started when a client first connects; at scale 2
  # one that is not there, which the program must not need.
  display=:198
  if ((scale == 1)); then
    wait_for 10 grep -qs 'xserver listening on display' "$work/weston-$scale.log" ||
      fail "weston started no X server: $(grep -i xwayland "$work/weston-$scale.log" | tail -2)"
    display=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' \
      "$work/weston-$scale.log" | head -1)
  fi
  env -u QT_QPA_PLATFORM -u QT_SCALE_FACTOR DISPLAY="$display" XDG_SESSION_TYPE=wayland \
    WAYLAND_DISPLAY="$socket" WAYLAND_DEBUG=1 "$program" >/dev/null 2>"$trace" &
  program_pid=$!
  # Mapped: the toplevel's first buffer is committed.
  if ! wait_for 30 grep -qs 'xdg_toplevel.*set_app_id' "$trace" ||
    ! wait_for 30 grep -qs 'wl_surface@[0-9]*\.commit()' "$trace"; then
    fail "no window was mapped: $(grep -v '^\[' "$trace" | head -3)"
  fi
  window "wayland-scale-$scale.png" "$scale"
  stop "$program_pid"
  program_pid=

  grep -q 'set_app_id("org.kalvena.kalvena")' "$trace" || fail "app id: $(grep set_app_id "$trace")"
  grep -q 'set_min_size(369, 459)' "$trace" && grep -q 'set_max_size(369, 459)' "$trace" ||
    fail "not of fixed size: $(grep -E 'set_(min|max)_size' "$trace" | head -2)"
  if ((scale > 1)); then
    grep -q "set_buffer_scale($scale)" "$trace" || fail "its buffers are not drawn at scale $scale"
  fi
  said=$(grep -v '^\[' "$trace")
  [[ -z $said ]] || fail "it said on stderr: $said"

  if ((scale == 1)); then
    # Asked for X in the same session: through Xwayland, as a window of the X server's, quiet.
    said=$work/x11-$scale
    env -u QT_SCALE_FACTOR QT_QPA_PLATFORM=xcb DISPLAY="$display" XDG_SESSION_TYPE=wayland \
      WAYLAND_DISPLAY="$socket" "$program" >/dev/null 2>"$said" &
    program_pid=$!
    wait_for 30 sh -c "DISPLAY=$display xwininfo -root -tree 2>/dev/null |
      grep -q '(\"kalvena\" \"Kalvena\")  369x459'" ||
      fail "no X window of 369 x 459 under Xwayland: $(head -3 "$said")"
    window xwayland-x11.png 1
    stop "$program_pid"
    program_pid=
    [[ -s $said ]] && fail "through Xwayland it said on stderr: $(head -3 "$said")"
  fi
  if ((scale == 2)); then
    # A copy of the program away from its folder has no title bar of its own: Qt's is used, and
    # it says so.
    mkdir -p "$work/alone"
    cp "$program" "$work/alone/kalvena"
    env -u QT_QPA_PLATFORM -u QT_SCALE_FACTOR -u DISPLAY XDG_SESSION_TYPE=wayland \
      WAYLAND_DISPLAY="$socket" WAYLAND_DEBUG=1 "$work/alone/kalvena" >/dev/null 2>"$trace" &
    program_pid=$!
    wait_for 30 grep -qs 'wl_surface@[0-9]*\.commit()' "$trace" || fail "alone, no window was mapped"
    window wayland-qt-title-bar.png 2 3
    stop "$program_pid"
    program_pid=
    grep -q "own title bar is not used" "$trace" ||
      fail "alone, it did not say that its own title bar is not used"
  fi
  stop "$weston_pid"
  weston_pid=
done

# With a pointer: Weston on an X server of its own (its X11 backend), the pointer moved by XTest.
# Dragging the title bar moves the window by as much; its close button closes the window, and
# with it the program.
scale=1
Xvfb -displayfd 3 -screen 0 1100x850x24 3>"$work/xdisplay" >/dev/null 2>&1 &
xvfb_pid=$!
wait_for 10 test -s "$work/xdisplay" || fail "Xvfb did not start"
xdisplay=:$(cat "$work/xdisplay")
socket=kalvena-pointer
DISPLAY=$xdisplay weston --backend=x11-backend.so --use-pixman --width=1024 --height=768 \
  --socket="$socket" --shell=desktop-shell.so --debug >"$work/weston-pointer.log" 2>&1 &
weston_pid=$!
wait_for 20 test -S "$XDG_RUNTIME_DIR/$socket" ||
  fail "weston on X did not start: $(tail -3 "$work/weston-pointer.log")"
trace=$work/trace-pointer
env -u QT_QPA_PLATFORM -u QT_SCALE_FACTOR -u DISPLAY XDG_SESSION_TYPE=wayland \
  WAYLAND_DISPLAY="$socket" WAYLAND_DEBUG=1 "$program" >/dev/null 2>"$trace" &
program_pid=$!
wait_for 30 grep -qs 'wl_surface@[0-9]*\.commit()' "$trace" || fail "no window was mapped on X"
# What the program is told of the pointer, and asks of the compositor, is in its protocol trace.
seen() { grep -cE "$1" "$trace"; }
# Waits until the trace has more lines matching a pattern than it had.   more <pattern> <count>
more() { wait_for 10 sh -c "[ \$(grep -cE '$1' '$trace') -gt $2 ]"; }
pointer='wl_pointer@[0-9]+\.enter\('
# Moves the pointer and waits until the program is told that it entered its window: the corner
# lies outside the window, so each move brings one new enter, which no late motion of an earlier
# move can stand in for. Weston's pointer follows the X pointer's moves from where it first met
# it: pushed into the corner first, the two are lined up (--sync: each move done by the X server
# before the next).
pointer_to() {  # pointer_to <x> <y>
  local before
  before=$(seen "$pointer")
  DISPLAY=$xdisplay xdotool mousemove --sync 0 0 mousemove --sync "$1" "$2"
  more "$pointer" "$before" || fail "the program was not told of the pointer at $1, $2"
}
x() { DISPLAY=$xdisplay xdotool "$@"; }
window wayland-pointer.png 1
read -r left top _ <<<"$found"
read -r _ _ close_x close_y < <(grep '^buttons' <<<"$found")
[[ -n $close_y ]] || fail "no close button was found"
# Pressed on the title bar, the program asks the compositor to move the window; only then is the
# pointer moved, and the window must stand where the drag ends.
pointer_to $((left + 100)) $((top - 15))
before=$(seen 'xdg_toplevel@[0-9]+\.move\(')
leaves=$(seen 'wl_pointer@[0-9]+\.leave\(')
x mousedown 1
more 'xdg_toplevel@[0-9]+\.move\(' "$before" || fail "pressed on its title bar, it asked for no move"
# The trace shows the request as the program queues it; the compositor has taken it once its move
# grab takes the pointer from the window (a leave). A pointer moved before that is not dragged.
more 'wl_pointer@[0-9]+\.leave\(' "$leaves" || fail "the compositor did not start the move it was asked for"
x mousemove_relative --sync 50 30 mousemove_relative --sync 100 70 mouseup 1
x mousemove --sync 1000 700  # off the window, out of the screenshot's way
window wayland-pointer-moved.png 1 1 $((left + 150)) $((top + 100))
read -r _ _ close_x close_y < <(grep '^buttons' <<<"$found")
pointer_to "$close_x" "$close_y"
x click 1
wait_for 10 sh -c "! kill -0 $program_pid 2>/dev/null" || fail "its close button did not end the program"
wait "$program_pid"
status=$?
program_pid=
((status == 0)) || fail "closed by its close button, the program ended with status $status"
said=$(grep -v '^\[' "$trace")
[[ -z $said ]] || fail "on X it said on stderr: $said"

echo "ok: a native Wayland window with its own title bar, whole at scales 1 and 2, moved and closed by it; and an X one through Xwayland"
