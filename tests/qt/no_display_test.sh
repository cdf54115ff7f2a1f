#!/usr/bin/env bash
# Where no window can be opened: the program says so in one line and exits with 1; and what
# needs no window at all, --help, --version and a mistyped option, works there.
#   no_display_test.sh <kalvena executable>
set -uo pipefail
program=$1
failed=0
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
fail() {
  echo "FAIL $*"
  failed=1
}
run() {  # run <what> <expected status> <env...>: sets out, err
  local what=$1 expected=$2
  shift 2
  local status
  out=$(env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY "$@" 2>"$errors")
  status=$?
  err=$(cat "$errors")
  [[ $status -eq $expected ]] || fail "$what: status $status, not $expected: $out$err"
}
one_line() {  # one_line <what> <text>
  [[ $(printf '%s\n' "$2" | grep -c .) -eq 1 && $2 == kalvena:* ]] || fail "$1: $2"
}

run "no DISPLAY" 1 -u DISPLAY "$program"
one_line "no DISPLAY" "$err"
run "a DISPLAY where no server answers" 1 DISPLAY=:199 "$program"
one_line "a dead DISPLAY" "$err"
run "Wayland without a compositor" 1 -u DISPLAY QT_QPA_PLATFORM=wayland \
  WAYLAND_DISPLAY=kalvena-none "$program"
one_line "Wayland" "$err"
[[ $err == *"no Wayland display answers"* ]] || fail "Wayland: $err"
run "Wayland without its socket" 1 -u DISPLAY QT_QPA_PLATFORM=wayland XDG_RUNTIME_DIR="$(dirname "$errors")" \
  WAYLAND_DISPLAY=kalvena-none "$program"
one_line "Wayland without its socket" "$err"
# A Wayland session whose compositor is gone, where Qt would try Wayland first: X11 is used,
# with no word of Wayland.
run "a Wayland session with a dead X display" 1 XDG_SESSION_TYPE=wayland \
  WAYLAND_DISPLAY=kalvena-none DISPLAY=:199 "$program"
one_line "a Wayland session" "$err"
[[ $err == *"the display :199 does not answer"* ]] || fail "a Wayland session: $err"

for help in --help -h; do
  run "$help" 0 -u DISPLAY "$program" "$help"
  [[ $out == Употреба:\ kalvena* && $out == *--version* && -z $err ]] || fail "$help: $out$err"
done
run "--version" 0 -u DISPLAY "$program" --version
[[ $out == "Kalvena "[0-9]*.[0-9]* && -z $err ]] || fail "--version: $out$err"
for wrong in --bogus -x stray; do
  run "$wrong" 2 -u DISPLAY "$program" "$wrong"
  one_line "$wrong" "$err"
  [[ $err == *"„$wrong“"*"kalvena --help"* && -z $out ]] || fail "$wrong: $err"
done
[[ $failed -eq 0 ]] && echo "ok: no display, --help, --version, wrong options"
exit $failed
