#!/usr/bin/env bash
# Runs the README's test command on a new Debian 12, as a new user's machine is: a minimal root
# (debootstrap --variant=minbase) from the mirror that this machine's apt sources name, with
# their certificates, copied afresh for every run, into which a clone of this repository is put
# and scripts/test.sh run. Nothing that was installed or left on this machine can then hide a
# step that the scripts miss. The packages downloaded are kept outside the root, so that a run
# does not download them again; everything it mounts is unmounted when it ends, also when it is
# interrupted.
#   scripts/test-on-new-debian.sh [--source TARBALL] [command...]
# The command is scripts/test.sh unless given, run in the clone, or with --source in the source
# tarball unpacked (kalvena-VERSION.tar.gz, as a release gives it). The cache is $KALVENA_CACHE,
# or ~/.cache/kalvena. It needs root (or sudo) for the chroot.
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
cache=${KALVENA_CACHE:-$HOME/.cache/kalvena}
base=$cache/debian12-new-machine
# shellcheck source=scripts/in-root.sh
source "$source_dir/scripts/in-root.sh"
tarball=
if [[ ${1:-} == --source ]]; then
  tarball=$(realpath "$2")
  shift 2
fi
command=("$@")
((${#command[@]})) || command=(scripts/test.sh)

work=
cleanup() {
  local status=$?
  trap - EXIT INT TERM
  if [[ -n $work ]]; then
    leave_root "$work/root"
    as_root rm -rf --one-file-system "$work"
  fi
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Debian's sources as this machine names them: the release, its updates and its security fixes.
sources() {
  local suite mirror
  for suite in bookworm bookworm-updates bookworm-security; do
    mirror=$("$source_dir/scripts/debian-mirror.sh" "$suite" 2>/dev/null) || continue
    echo "deb $mirror $suite main"
  done
}

# What this needs of the machine it runs on (CI's may be new too).
for tool in debootstrap git; do
  if ! command -v "$tool" >/dev/null; then
    as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
      debootstrap git ca-certificates >/dev/null
    break
  fi
done

if [[ ! -f $base/.kalvena-ready ]]; then
  echo "== a new Debian 12 in $base (once; kept for the next runs, which copy it)"
  as_root rm -rf "$base.partial"
  mkdir -p "$cache/debootstrap-debs"
  as_root debootstrap --variant=minbase --cache-dir="$cache/debootstrap-debs" bookworm \
    "$base.partial" "$("$source_dir/scripts/debian-mirror.sh" bookworm)" >"$cache/debootstrap.log" 2>&1 ||
    { tail -20 "$cache/debootstrap.log"; exit 1; }
  sources | as_root tee "$base.partial/etc/apt/sources.list" >/dev/null
  # No service is started by a package's installation in a root that has no init.
  printf '#!/bin/sh\nexit 101\n' | as_root tee "$base.partial/usr/sbin/policy-rc.d" >/dev/null
  as_root chmod 755 "$base.partial/usr/sbin/policy-rc.d"
  as_root touch "$base.partial/.kalvena-ready"
  as_root mv "$base.partial" "$base"
fi

work=$(mktemp -d)
root=$work/root
if [[ -n $tarball ]]; then
  echo "== a fresh copy of it in $root, with $(basename "$tarball") unpacked"
else
  echo "== a fresh copy of it in $root, with a clone of $(git -C "$source_dir" rev-parse --short HEAD)"
fi
as_root cp -a "$base" "$root"
# The machine's certificates, for a mirror reached over HTTPS.
if [[ -f /etc/ssl/certs/ca-certificates.crt ]]; then
  as_root mkdir -p "$root/etc/ssl/certs"
  as_root cp /etc/ssl/certs/ca-certificates.crt "$root/etc/ssl/certs/"
fi
mount_in "$root" -t proc proc /proc
mount_in "$root" -t sysfs sysfs /sys
mount_in "$root" --bind /dev /dev
mount_in "$root" -t devpts -o newinstance,ptmxmode=0666 devpts /dev/pts
mount_in "$root" -t tmpfs tmpfs /dev/shm
# Downloads are kept for the next run: Debian's packages, and the set-up step's.
mkdir -p "$cache/new-machine-apt/partial" "$cache/new-machine-downloads"
mount_in "$root" --bind "$cache/new-machine-apt" /var/cache/apt/archives
mount_in "$root" --bind "$cache/new-machine-downloads" /root/.cache/kalvena
if [[ -n $tarball ]]; then
  as_root mkdir -p "$root/src/kalvena"
  as_root tar -xzf "$tarball" -C "$root/src/kalvena" --strip-components=1
else
  as_root git clone -q "$source_dir" "$root/src/kalvena"
fi
started=$SECONDS
status=0
# In the background, waited for: a signal to this script is handled at once, not only once the
# command has ended (the cleanup then ends what runs inside).
in_root "$root" /bin/bash -c 'cd /src/kalvena && echo "== running in the new root: $*" && exec "$@"' \
  run "${command[@]}" &
wait $! || status=$?
echo "== on a new Debian 12: $(((SECONDS - started) / 60)) min $(((SECONDS - started) % 60)) s, status $status"
exit $status
