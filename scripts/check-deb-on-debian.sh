#!/usr/bin/env bash
# Installs a .deb of Kalvena on a clean Debian 12 and checks that it works there: a minimal
# Debian (debootstrap --variant=minbase) with only the tools of the window test added, kept in a
# cache folder and copied afresh for each check; `apt-get install ./kalvena_*.deb` brings what
# the package names; then `kalvena --version` must answer with the version, and the window test
# must pass inside it.
#   check-deb-on-debian.sh <kalvena_VERSION_amd64.deb> <version>
# The cache is $KALVENA_CACHE, or ~/.cache/kalvena. It needs root (or sudo) for the chroot, and
# the Debian mirror that the machine's apt sources name, the first time.
set -euo pipefail
deb=$(realpath "$1")
version=$2
source_dir=$(cd "$(dirname "$0")/.." && pwd)
cache=${KALVENA_CACHE:-$HOME/.cache/kalvena}
base=$cache/debian12-minbase
mirror=$("$source_dir/scripts/debian-mirror.sh" bookworm)
# shellcheck source=scripts/in-root.sh
source "$source_dir/scripts/in-root.sh"
root=
cleanup() {
  if [[ -n $root ]]; then
    leave_root "$root"
    as_root rm -rf --one-file-system "$(dirname "$root")"
  fi
  leave_root "$base.partial"
}
trap cleanup EXIT

if [[ ! -f $base/.kalvena-ready ]]; then
  echo "== a minimal Debian 12 in $base (once)"
  as_root rm -rf "$base.partial"
  mkdir -p "$cache"
  as_root debootstrap --variant=minbase bookworm "$base.partial" "$mirror" >/dev/null
  mount_in "$base.partial" -t proc proc /proc
  in_root "$base.partial" apt-get update -qq
  # What the window test needs, and no more: a virtual display and the tools that drive it.
  in_root "$base.partial" apt-get install -y -qq --no-install-recommends \
    xvfb xauth xdotool x11-utils >"$cache/base.log" 2>&1 || { cat "$cache/base.log"; exit 1; }
  in_root "$base.partial" apt-get clean
  leave_root "$base.partial"
  as_root touch "$base.partial/.kalvena-ready"
  as_root mv "$base.partial" "$base"
fi

echo "== $(basename "$deb") on a copy of it"
root=$(mktemp -d)/debian
as_root cp -a "$base" "$root"
mount_in "$root" -t proc proc /proc
mount_in "$root" --bind /dev /dev
# Downloaded packages are kept for the next check.
mkdir -p "$cache/apt-archives/partial"
mount_in "$root" --bind "$cache/apt-archives" /var/cache/apt/archives
as_root cp "$deb" "$root/tmp/"
log=$(dirname "$root")/apt.log
in_root "$root" apt-get install -y -qq "/tmp/$(basename "$deb")" >"$log" 2>&1 ||
  { cat "$log"; echo "FAIL: the package does not install"; exit 1; }
answer=$(in_root "$root" kalvena --version)
[[ $answer == "Kalvena $version" ]] || { echo "FAIL: kalvena --version says: $answer"; exit 1; }
as_root mkdir -p "$root/kalvena-test/tests" "$root/kalvena-test/packaging"
as_root cp "$source_dir/tests/window_test.sh" "$root/kalvena-test/tests/"
as_root cp "$source_dir/packaging/org.kalvena.kalvena.desktop" "$root/kalvena-test/packaging/"
in_root "$root" /kalvena-test/tests/window_test.sh 170 kalvena
echo "ok: on a clean Debian 12 it installs, says $answer, and its window works"
