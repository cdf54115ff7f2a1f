#!/usr/bin/env bash
# Pictures of kalvena.exe under Wine for a person to compare: the 12 dB/oct window with a
# three-way crossover calculated, its response window, the "Error !!" box, the 18 dB/oct
# window, the drivers' panel and the response with the spread of builds, each grabbed whole at a DPI, with smoothing off or on. A folder of PNGs; it checks
# nothing. Run it on two builds and compare the folders (compare -metric AE).
#   tools/wine_screens.sh EXE OUT_DIR [DPI...]        (KALVENA_SMOOTHING=1 smooths the faces)
set -euo pipefail
exe=$(realpath "$1") out=$(realpath -m "$2")
shift 2
dpis=("$@")
((${#dpis[@]})) || dpis=(96 120 144 192)
cd "$(dirname "$0")/.."
mkdir -p "$out"
prefix=$(mktemp -d)
display=:$((60 + RANDOM % 30))
trap 'wineserver -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true; rm -rf "$prefix"' EXIT
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=$display
Xvfb "$display" -screen 0 1800x1400x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sleep 1
wineboot -i >/dev/null 2>&1 || true
wineserver -w
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
smoothing=${KALVENA_SMOOTHING:-0}
wine reg add 'HKCU\Control Panel\Desktop' /v FontSmoothing /t REG_SZ /d $((smoothing ? 2 : 0)) \
  /f >/dev/null 2>&1
wine reg add 'HKCU\Control Panel\Desktop' /v FontSmoothingType /t REG_DWORD /d 1 /f \
  >/dev/null 2>&1
wineserver -w

k() { xdotool key --delay 60 "$@"; sleep 0.15; }
t() { xdotool type --delay 40 "$1"; sleep 0.1; }
window() {
  local w=""
  for _ in $(seq 100); do
    w=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 || true)
    [[ -n $w ]] && break
    sleep 0.2
  done
  echo "$w"
}
grab() { xwd -id "$1" -silent | convert xwd:- "$out/$2"; }

design=$prefix/heard.kalvena
inputs='"LowFc": 300.0, "LowR": 8.0, "MidFc1": 300.0, "MidFc2": 3000.0, "MidR": 8.0,
  "HighFc": 3000.0, "HighR": 8.0'
band() {  # band <level dB> <offset mm>: a driver heard, flat but for a roll-off at its ends
  echo "{\"driver\": null, \"zobel\": false, \"notch\": false, \"pad dB\": 0.0,
    \"coil ohms\": 0.0, \"sound\": {\"file\": \"$1.frd\", \"phase\": \"minimum\",
    \"points\": [[10, $(($1 - 30))], [40, $1], [10000, $1], [40000, $(($1 - 20))]]},
    \"offset mm\": $2}"
}
printf '%s\n' "{\"format\": \"Kalvena design\", \"version\": 2, \"12 dB/oct\": {$inputs},
  \"18 dB/oct\": {$inputs}, \"parts\": \"E12\",
  \"bands\": {\"low\": $(band 88 20), \"middle\": $(band 90 10), \"high\": $(band 89 0)},
  \"tolerances\": {\"capacitors %\": 10.0, \"coils %\": 5.0, \"resistors %\": 5.0,
  \"coil resistance %\": 10.0}}" >"$design"

for dpi in "${dpis[@]}"; do
  tag=wine-${dpi}dpi-smoothing$smoothing
  KALVENA_WINE_DPI=$dpi scripts/wine-run.sh "$exe" &
  pid=$!
  form1=$(window '^Kalvena$')
  xdotool mousemove 1790 1390  # no hover text over a window
  sleep 1.5
  # A letter typed into a box: the error box.
  t x
  box=$(window '^ Error !!$')
  sleep 0.5
  [[ -n $box ]] && grab "$box" "$tag-error.png"
  k Return
  sleep 0.5
  t 300; k Tab; t 8; k Tab Tab Tab Tab Tab Tab Tab Tab Tab
  t 300; k Tab; t 3000; k Tab; t 8; k Tab; t 3000; k Tab; t 8
  for _ in $(seq 10); do k shift+Tab; done
  k space
  sleep 0.5
  grab "$form1" "$tag-form1.png"
  k ctrl+r
  sleep 2
  grab "$(window '^Честотна характеристика$')" "$tag-response.png"
  k Escape
  # The switch button, clicked where it lies in the client area.
  eval "$(xdotool getwindowgeometry --shell "$form1")"
  cw=$((369 * dpi / 96)) ch=$((459 * dpi / 96))
  cx=$(((WIDTH - cw) / 2)) cy=$((HEIGHT - ch - (WIDTH - cw) / 2))
  xdotool mousemove --window "$form1" $((cx + 3667 * dpi / 1440)) $((cy + 6607 * dpi / 1440)) \
    click 1 mousemove 1790 1390
  sleep 1.5
  grab "$(window '^Kalvena$')" "$tag-form2.png"
  # The drivers' panel from the 18 dB/oct window's response window, a woofer's data typed.
  k ctrl+r
  sleep 1.5
  k ctrl+d
  sleep 1.5
  k Tab; t 5.8; k Tab; t 0.9; k Tab; t 32; k Tab; t 3.1; k Tab; t 0.38
  sleep 0.5
  panel=$(window '^Говорители$')
  grab "$panel" "$tag-drivers.png"
  kill $pid 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  # A design opened at start (three drivers' responses, two of them behind), its response
  # window with the spread of builds switched on in the panel, where the switch lies.
  KALVENA_WINE_DPI=$dpi scripts/wine-run.sh "$exe" "$(winepath -w "$design")" &
  pid=$!
  window '^Kalvena$' >/dev/null
  xdotool mousemove 1790 1390
  sleep 1.5
  k ctrl+r
  sleep 1.5
  k ctrl+d
  panel=$(window '^Говорители$')
  sleep 1
  eval "$(xdotool getwindowgeometry --shell "$panel")"
  cw=$((866 * dpi / 96)) ch=$((642 * dpi / 96))
  cx=$(((WIDTH - cw) / 2)) cy=$((HEIGHT - ch - (WIDTH - cw) / 2))
  xdotool mousemove --window "$panel" $((cx + 690 * dpi / 96)) $((cy + 166 * dpi / 96)) \
    click 1 mousemove 1790 1390
  sleep 1
  grab "$panel" "$tag-drivers-heard.png"
  xdotool windowunmap "$panel"
  sleep 1
  grab "$(window '^Честотна характеристика$')" "$tag-response-spread.png"
  kill $pid 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
done
ls "$out"
