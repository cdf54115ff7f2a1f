# Sourced by the scripts that run something in a Debian root of their own
# (check-deb-on-debian.sh, test-on-new-debian.sh): root's commands (sudo where needed), mounts
# undone in the reverse order, the processes left inside ended, and a command run inside with a
# clean environment.
sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi
as_root() { "${sudo_cmd[@]}" "$@"; }

mounted=()
mount_in() {  # mount_in <root> <what mount takes...> <target inside>
  local target=$1/${*: -1}
  as_root mkdir -p "$target"
  as_root mount "${@:2:$#-2}" "$target"
  mounted+=("$target")
}
# Ends what is still running inside a root (a virtual display, a Wine server), then unmounts
# everything mount_in mounted.   leave_root <root>
leave_root() {
  local process i
  for process in /proc/[0-9]*; do
    [[ $(as_root readlink "$process/root" 2>/dev/null) == "$1" ]] &&
      as_root kill -9 "${process#/proc/}" 2>/dev/null
  done
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
    as_root umount "${mounted[i]}" 2>/dev/null || as_root umount -l "${mounted[i]}" || true
  done
  mounted=()
}
in_root() {  # in_root <root> <command...>
  as_root env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 TERM=dumb \
    CI="${CI:-}" DEBIAN_FRONTEND=noninteractive chroot "$@"
}
