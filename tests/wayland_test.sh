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
work=$(mktemp -d)
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
weston_pid=
program_pid=
cleanup() {
  [[ -n $program_pid ]] && kill "$program_pid" 2>/dev/null
  [[ -n $weston_pid ]] && kill "$weston_pid" 2>/dev/null
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

# Whole on the screen: the window's ground, in the screenshot, spans the client area's size at
# the scale, and touches no edge of the output.   whole <png> <scale>
whole() {
  [[ -f $1 ]] || return 0  # a missing screenshot has failed already
  python3 - "$1" "$2" <<'EOF' || fail "the window is not whole in $1"
import struct, sys, zlib
data = open(sys.argv[1], "rb").read()
scale = int(sys.argv[2])
pos, chunks = 8, {}
idat = b""
while pos < len(data):
    length, kind = struct.unpack(">I4s", data[pos:pos + 8])
    body = data[pos + 8:pos + 8 + length]
    if kind == b"IHDR":
        width, height, depth, colour = struct.unpack(">IIBB", body[:10])
    elif kind == b"IDAT":
        idat += body
    pos += 12 + length
channels = {2: 3, 6: 4}[colour]
raw = zlib.decompress(idat)
stride = width * channels
rows, previous = [], bytearray(stride)
for y in range(height):
    kind = raw[y * (stride + 1)]
    line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
    for x in range(stride):
        a = line[x - channels] if x >= channels else 0
        b = previous[x]
        c = previous[x - channels] if x >= channels else 0
        if kind == 1: line[x] = (line[x] + a) & 255
        elif kind == 2: line[x] = (line[x] + b) & 255
        elif kind == 3: line[x] = (line[x] + (a + b) // 2) & 255
        elif kind == 4:
            p = a + b - c
            pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
            line[x] = (line[x] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
    rows.append(line)
    previous = line
# The window's ground (Fusion's, 239 grey) in runs of at least a fifth of its width.
left, top, right, bottom = width, height, -1, -1
run_needed = 369 * scale // 5
for y, line in enumerate(rows):
    run = 0
    for x in range(width):
        r, g, b = line[x * channels:x * channels + 3]
        run = run + 1 if (r, g, b) == (239, 239, 239) else 0
        if run >= run_needed:
            left, right = min(left, x - run + 1), max(right, x)
            top, bottom = min(top, y), max(bottom, y)
wide, high = right - left + 1, bottom - top + 1
print(f"the window's ground spans {wide} x {high} at ({left}, {top}) of {width} x {height}")
whole = wide >= 360 * scale and high >= 440 * scale and left > 0 and top > 0 \
    and right < width - 1 and bottom < height - 1
sys.exit(0 if whole else 1)
EOF
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
  whole "wayland-scale-$scale.png" "$scale"

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
    whole xwayland-x11.png 1
  fi
  kill "$weston_pid" 2>/dev/null
  wait "$weston_pid" 2>/dev/null
  weston_pid=
done
((failed == 0)) && echo "ok: a native Wayland window, whole at scales 1 and 2, and an X one through Xwayland"
exit $failed
