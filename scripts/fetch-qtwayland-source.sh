#!/usr/bin/env bash
# Part of the set-up: fetches Debian's source tarball of the installed Qt Wayland, from the
# mirror that the machine's apt sources name, through apt's own downloader (so apt's proxy
# settings hold), checked against its checksum in cmake/qtwayland-sources.txt, into the cache
# ($KALVENA_CACHE, or ~/.cache/kalvena), where the build looks for it. The build itself never
# downloads. Where the version is not known or the download fails it says so and ends with 0:
# the program is then built with Qt's title bar on Wayland.
set -uo pipefail
cd "$(dirname "$0")/.."
cache=${KALVENA_CACHE:-$HOME/.cache/kalvena}
version=$(dpkg-query -W -f='${Version}' qt6-wayland-dev 2>/dev/null) || exit 0
version=${version#*:}
version=${version%%-*}
sha256=$(awk -v v="$version" '$1 == v { print $2 }' cmake/qtwayland-sources.txt)
tarball=$cache/qt6-wayland_$version.orig.tar.xz
if [[ -z $sha256 ]]; then
  echo "fetch-qtwayland-source.sh: no source of Qt Wayland $version is known: the program gets Qt's title bar on Wayland"
  exit 0
fi
if [[ -f $tarball ]] && sha256sum "$tarball" | grep -q "^$sha256 "; then exit 0; fi
mirror=$(scripts/debian-mirror.sh) || exit 0
mkdir -p "$cache"
if /usr/lib/apt/apt-helper download-file \
  "$mirror/pool/main/q/qt6-wayland/qt6-wayland_$version.orig.tar.xz" "$tarball.part" \
  "SHA256:$sha256" >"$cache/fetch.log" 2>&1; then
  mv "$tarball.part" "$tarball"
else
  rm -f "$tarball.part"
  echo "fetch-qtwayland-source.sh: could not fetch Qt Wayland's source ($(tail -1 "$cache/fetch.log")): the program gets Qt's title bar on Wayland"
fi
exit 0
