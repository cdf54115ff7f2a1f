#!/usr/bin/env bash
# scripts/test-on-new-debian.sh, interrupted while its command runs, ends at once and leaves
# nothing mounted, no process in its root and no root behind.
#   new_root_interrupt_test.sh
set -uo pipefail
cd "$(dirname "$0")/.."
log=$(mktemp)
trap 'rm -f "$log"' EXIT
scripts/test-on-new-debian.sh sleep 600 >"$log" 2>&1 &
script=$!
for _ in $(seq 1800); do
  grep -q "== running in the new root" "$log" && break
  kill -0 "$script" 2>/dev/null || break
  sleep 0.1
done
grep -q "== running in the new root" "$log" || { cat "$log"; echo "FAIL: the command never ran"; exit 1; }
root=$(sed -n 's/^== a fresh copy of it in \([^ ]*\), .*/\1/p' "$log")
grep -q " $root/proc " /proc/mounts || { cat "$log"; echo "FAIL: its root ($root) has no /proc"; exit 1; }
kill -TERM "$script"
for _ in $(seq 100); do kill -0 "$script" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$script" 2>/dev/null; then
  echo "FAIL: ten seconds after it was interrupted it still runs"
  exit 1
fi
status=0
if grep -q " $root" /proc/mounts; then
  echo "FAIL: still mounted: $(grep " $root" /proc/mounts | cut -d' ' -f2 | tr '\n' ' ')"
  status=1
fi
for process in /proc/[0-9]*; do
  if [[ $(readlink "$process/root" 2>/dev/null) == "$root" ]]; then
    echo "FAIL: process ${process#/proc/} still runs in the root"
    status=1
  fi
done
[[ -e $root ]] && { echo "FAIL: the root $root is left behind"; status=1; }
((status == 0)) && echo "ok: interrupted, it ended at once and left nothing mounted or running"
exit $status
