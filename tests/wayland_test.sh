#!/usr/bin/env bash
# The program in a Wayland session of its own: Weston's headless backend at output scales 1 and 2,
# the program started as a desktop would (XDG_SESSION_TYPE=wayland, QT_QPA_PLATFORM unset). At
# scale 1 the session has its X server too (Xwayland, as GNOME's and KDE's have), at scale 2 it
# names one that is not there. It must run natively, with app id org.kalvena.kalvena, as a window
# of fixed size (its minimum the same as its maximum, so no compositor maximises it), say nothing
# on stderr but the protocol trace, and be whole in Weston's screenshot, which is kept in the
# working directory (wayland-scale-N.png) for a person to look at. Asked for X
# (QT_QPA_PLATFORM=xcb), it runs through Xwayland as quietly, whole (xwayland-x11.png).
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
  [[ -n $program_pid ]] && kill "$program_pid" 2>/dev/null
  [[ -n $weston_pid ]] && kill "$weston_pid" 2>/dev/null
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
failed=0
fail() {
  echo "FAIL at scale $scale: $*"
  failed=1
}
wait_for() {  # wait_for <seconds> <command...>
  local tries=$(($1 * 10))
  shift
  for _ in $(seq "$tries"); do "$@" && return 0; sleep 0.1; done
  return 1
}

# The window in a screenshot: whole (its ground spans the client area's size at the scale and
# touches no edge of the output), its title bar's buttons (only close: the window is of fixed
# size; Qt's own has three) and its title, read back by OCR.
#   window <png> <scale> [buttons]; sets `found` to what was read
window() {
  local buttons=${3:-1}
  found=
  [[ -f $1 ]] || return 0  # a missing screenshot has failed already
  found=$(python3 "$here/wayland_window.py" "$1" "$2" "$work/title.png") ||
    fail "the window is not whole in $1: $(head -1 <<<"$found")"
  echo "$1: $found"
  read -r _ count _ < <(grep '^buttons' <<<"$found")
  [[ $count == "$buttons" ]] || fail "its title bar has $count buttons, not $buttons, in $1"
  title=$(tesseract "$work/title.png" - --psm 7 2>/dev/null | tr -d '\f' | xargs)
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
    wait_for 10 grep -q 'xserver listening on display' "$work/weston-$scale.log" ||
      fail "weston started no X server: $(grep -i xwayland "$work/weston-$scale.log" | tail -2)"
    display=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' \
      "$work/weston-$scale.log" | head -1)
  fi
  env -u QT_QPA_PLATFORM -u QT_SCALE_FACTOR DISPLAY="$display" XDG_SESSION_TYPE=wayland \
    WAYLAND_DISPLAY="$socket" WAYLAND_DEBUG=1 "$program" >/dev/null 2>"$trace" &
  program_pid=$!
  # Mapped: the toplevel's first buffer is committed.
  if ! wait_for 30 grep -q 'xdg_toplevel.*set_app_id' "$trace" ||
    ! wait_for 30 grep -q 'wl_surface@[0-9]*\.commit()' "$trace"; then
    fail "no window was mapped: $(grep -v '^\[' "$trace" | head -3)"
  fi
  sleep 1
  screenshot "wayland-scale-$scale.png"
  kill "$program_pid" 2>/dev/null
  wait "$program_pid" 2>/dev/null
  program_pid=

  grep -q 'set_app_id("org.kalvena.kalvena")' "$trace" || fail "app id: $(grep set_app_id "$trace")"
  grep -q 'set_min_size(369, 459)' "$trace" && grep -q 'set_max_size(369, 459)' "$trace" ||
    fail "not of fixed size: $(grep -E 'set_(min|max)_size' "$trace" | head -2)"
  if ((scale > 1)); then
    grep -q "set_buffer_scale($scale)" "$trace" || fail "its buffers are not drawn at scale $scale"
  fi
  said=$(grep -v '^\[' "$trace")
  [[ -z $said ]] || fail "it said on stderr: $said"
  window "wayland-scale-$scale.png" "$scale"

  if ((scale == 1)); then
    # Asked for X in the same session: through Xwayland, as a window of the X server's, quiet.
    said=$work/x11-$scale
    env -u QT_SCALE_FACTOR QT_QPA_PLATFORM=xcb DISPLAY="$display" XDG_SESSION_TYPE=wayland \
      WAYLAND_DISPLAY="$socket" "$program" >/dev/null 2>"$said" &
    program_pid=$!
    wait_for 30 sh -c "DISPLAY=$display xwininfo -root -tree 2>/dev/null |
      grep -q '(\"kalvena\" \"Kalvena\")  369x459'" ||
      fail "no X window of 369 x 459 under Xwayland: $(head -3 "$said")"
    sleep 1
    screenshot xwayland-x11.png
    kill "$program_pid" 2>/dev/null
    wait "$program_pid" 2>/dev/null
    program_pid=
    [[ -s $said ]] && fail "through Xwayland it said on stderr: $(head -3 "$said")"
    window xwayland-x11.png 1
  fi
  if ((scale == 2)); then
    # A copy of the program away from its folder has no title bar of its own: Qt's is used, and
    # it says so.
    mkdir -p "$work/alone"
    cp "$program" "$work/alone/kalvena"
    env -u QT_QPA_PLATFORM -u QT_SCALE_FACTOR -u DISPLAY XDG_SESSION_TYPE=wayland \
      WAYLAND_DISPLAY="$socket" WAYLAND_DEBUG=1 "$work/alone/kalvena" >/dev/null 2>"$trace" &
    program_pid=$!
    wait_for 30 grep -q 'wl_surface@[0-9]*\.commit()' "$trace" || fail "alone, no window was mapped"
    sleep 1
    screenshot wayland-qt-title-bar.png
    kill "$program_pid" 2>/dev/null
    wait "$program_pid" 2>/dev/null
    program_pid=
    grep -q "own title bar is not used" "$trace" ||
      fail "alone, it did not say that its own title bar is not used"
    window wayland-qt-title-bar.png 2 3
  fi
  kill "$weston_pid" 2>/dev/null
  wait "$weston_pid" 2>/dev/null
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
wait_for 30 grep -q 'wl_surface@[0-9]*\.commit()' "$trace" || fail "no window was mapped on X"
sleep 1
# Weston's pointer follows the X pointer's moves from where it first met it: pushed into the
# corner, the two are lined up.   pointer_to <x> <y> [xdotool commands...]
pointer_to() {
  DISPLAY=$xdisplay xdotool mousemove 0 0 sleep 0.3 mousemove "$1" "$2" sleep 0.3 "${@:3}"
}
screenshot wayland-pointer.png
window wayland-pointer.png 1
read -r left top _ <<<"$found"
read -r _ _ close_x close_y < <(grep '^buttons' <<<"$found")
if [[ -n $close_y ]]; then
  pointer_to $((left + 100)) $((top - 15)) mousedown 1 sleep 0.3 \
    mousemove_relative 50 30 sleep 0.3 mousemove_relative 100 70 sleep 0.3 mouseup 1 \
    sleep 0.3 mousemove 1000 700  # off the window, out of the screenshot's way
  sleep 0.5
  screenshot wayland-pointer-moved.png
  window wayland-pointer-moved.png 1
  read -r moved_left moved_top _ <<<"$found"
  ((moved_left == left + 150 && moved_top == top + 100)) ||
    fail "dragged by 150, 100 from $left, $top, the window is at $moved_left, $moved_top"
  read -r _ _ close_x close_y < <(grep '^buttons' <<<"$found")
  pointer_to "$close_x" "$close_y" click 1
  if wait_for 10 sh -c "! kill -0 $program_pid 2>/dev/null"; then
    wait "$program_pid"
    status=$?
    ((status == 0)) || fail "closed by its close button, the program ended with status $status"
  else
    fail "its close button did not end the program"
  fi
  program_pid=
fi
said=$(grep -v '^\[' "$trace")
[[ -z $said ]] || fail "on X it said on stderr: $said"

((failed == 0)) && echo "ok: a native Wayland window with its own title bar, whole at scales 1 and 2, moved and closed by it; and an X one through Xwayland"
exit $failed
