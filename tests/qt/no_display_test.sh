#!/usr/bin/env bash
# Where no window can be opened: the program says so in one line and exits with 1; and what
# needs no window at all, --help, --version and a mistyped option, works there. All it says is
# in Bulgarian under a Bulgarian locale, in English under any other.
#   no_display_test.sh <kalvena executable>
set -uo pipefail
program=$1
failed=0
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
fail() {
  echo "FAIL ($locale) $*"
  failed=1
}
run() {  # run <what> <expected status> <env...>: sets out, err
  local what=$1 expected=$2
  shift 2
  local status
  out=$(LC_ALL=$locale env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY -u LC_MESSAGES -u LANG "$@" \
    2>"$errors")
  status=$?
  err=$(cat "$errors")
  [[ $status -eq $expected ]] || fail "$what: status $status, not $expected: $out$err"
}
one_line() {  # one_line <what> <text> <what it must hold>
  [[ $(printf '%s\n' "$2" | grep -c .) -eq 1 && $2 == kalvena:* && $2 == *"$3"* ]] ||
    fail "$1: $2"
}

# Each row: the locale; the first word of the usage; a window that cannot be opened; a dead X
# display; a Wayland display that is not there; an option it does not know, with its quotes.
rows=(
  "bg_BG.UTF-8|Употреба:|не може да се отвори прозорец|дисплеят :199 не отговаря|не отговаря дисплей на Wayland|непозната опция „%s“"
  "C.UTF-8|Usage:|cannot open a window|the display :199 does not answer|no Wayland display answers|unknown option '%s'"
)
for row in "${rows[@]}"; do
  IFS='|' read -r locale usage cannot dead wayland unknown <<<"$row"
  run "no DISPLAY" 1 -u DISPLAY "$program"
  one_line "no DISPLAY" "$err" "$cannot"
  run "a DISPLAY where no server answers" 1 DISPLAY=:199 "$program"
  one_line "a dead DISPLAY" "$err" "$dead"
  run "Wayland without a compositor" 1 -u DISPLAY QT_QPA_PLATFORM=wayland \
    WAYLAND_DISPLAY=kalvena-none "$program"
  one_line "Wayland" "$err" "$wayland"
  run "Wayland without its socket" 1 -u DISPLAY QT_QPA_PLATFORM=wayland \
    XDG_RUNTIME_DIR="$(dirname "$errors")" WAYLAND_DISPLAY=kalvena-none "$program"
  one_line "Wayland without its socket" "$err" "$wayland"
  # A Wayland session whose compositor is gone, where Qt would try Wayland first: X11 is
  # used, with no word of Wayland.
  run "a Wayland session with a dead X display" 1 XDG_SESSION_TYPE=wayland \
    WAYLAND_DISPLAY=kalvena-none DISPLAY=:199 "$program"
  one_line "a Wayland session" "$err" "$dead"

  for help in --help -h; do
    run "$help" 0 -u DISPLAY "$program" "$help"
    [[ $out == "$usage kalvena"* && $out == *--version* && -z $err ]] || fail "$help: $out$err"
  done
  run "--version" 0 -u DISPLAY "$program" --version
  [[ $out == "Kalvena "[0-9]*.[0-9]* && -z $err ]] || fail "--version: $out$err"
  for wrong in --bogus -x stray; do
    # One file is a design to open; a second is one too many.
    args=("$wrong")
    [[ $wrong == stray ]] && args=(design.kalvena stray)
    run "$wrong" 2 -u DISPLAY "$program" "${args[@]}"
    # shellcheck disable=SC2059
    [[ $wrong == stray ]] || one_line "$wrong" "$err" "$(printf "$unknown" "$wrong")"
    one_line "$wrong" "$err" "kalvena --help"
    [[ -z $out ]] || fail "$wrong: $out"
  done
done
[[ $failed -eq 0 ]] && echo "ok: no display, --help, --version, wrong options, in Bulgarian and English"
exit $failed
