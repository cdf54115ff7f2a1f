#!/usr/bin/env bash
# Runs a Windows program under Wine, in the prefix and on the display that the caller set up
# (scripts/test-windows.sh); the program's exit status is Wine's.
set -euo pipefail
export WINEDEBUG=${WINEDEBUG:--all}
exec wine "$@"
