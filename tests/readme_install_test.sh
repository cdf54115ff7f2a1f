#!/usr/bin/env bash
# The README's Install commands, as a packager or a user building by hand types them, on a
# machine that only the run command has set up (CI runs this in a new Debian 12 root after
# scripts/run.sh, which installs no git): in a fresh copy of the source without its builds, with
# what they install put under a folder of their own (DESTDIR), which must then hold a kalvena
# that answers --version.
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/clone"
tar -C "$source_dir" --exclude='./build*' --exclude=./.git --exclude=./dist -cf - . |
  tar -C "$work/clone" -xf -
cd "$work/clone"
# The first fenced commands under the README's "## Install", without their comments. awk reads
# to the end rather than exit at the block's end: sed, still writing, would die of SIGPIPE.
commands=$(sed -n '/^## Install$/,/^## /p' README.md |
  awk '/^```sh$/ && !done { inside = 1; next } /^```$/ && inside { inside = 0; done = 1 } inside' |
  sed -e 's/[[:space:]]*#.*$//')
[[ -n $commands ]] || { echo "FAIL: no commands under the README's Install heading"; exit 1; }
echo "$commands"
DESTDIR=$work/staged bash -euo pipefail -c "$commands" >"$work/log" 2>&1 ||
  { tail -30 "$work/log"; echo "FAIL: the README's Install commands"; exit 1; }
grep -m1 "Not built" "$work/log" || true
version=$(sed -n 's/^project(Kalvena VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
answer=$(env -u DISPLAY -u WAYLAND_DISPLAY "$work/staged/usr/local/bin/kalvena" --version | tail -1)
[[ $answer == "Kalvena $version" ]] || { echo "FAIL: the installed kalvena says: $answer"; exit 1; }
echo "the README's Install commands: $answer installed"
