#!/usr/bin/env bash
# Installs the built program into a temporary prefix and checks what a desktop needs of it:
# the executable, which opens its window, a valid .desktop file, valid AppStream metainfo, the
# hicolor icons and the manual page (which renders in the C locale without a troff warning); then
# makes the .deb, checks that it declares its Debian dependencies, and that lintian, pedantic and
# with its information tags, says nothing at all about it (hardening and stripping included).
# Everything that gives
# the program's version gives the project's, which is written once, in CMake's project().
#   install_test.sh <build directory> <the project's version>
set -euo pipefail
build=$(cd "$1" && pwd)
version=$2
source_dir=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
id=org.kalvena.kalvena

cmake --install "$build" --prefix "$work/usr" >/dev/null
test -x "$work/usr/bin/kalvena"
desktop-file-validate "$work/usr/share/applications/$id.desktop"
# A design file is known by its MIME type, which the .desktop file opens with the program.
XDG_DATA_HOME=$work/usr/share update-mime-database "$work/usr/share/mime" 2>&1 | grep . && { echo "the MIME type: see above"; exit 1; }
grep -q '<glob pattern="\*.kalvena"/>' "$work/usr/share/mime/application/x-kalvena-design.xml"
grep -q '^MimeType=application/x-kalvena-design;$' "$work/usr/share/applications/$id.desktop"
grep -q '^Exec=kalvena %f$' "$work/usr/share/applications/$id.desktop"
appstreamcli validate --no-net --pedantic "$work/usr/share/metainfo/$id.metainfo.xml"
for size in 16 32 48 256; do
  icon="$work/usr/share/icons/hicolor/${size}x${size}/apps/$id.png"
  file "$icon" | grep -q "PNG image data, $size x $size" || { echo "bad icon $icon"; exit 1; }
done
test -s "$work/usr/share/icons/hicolor/scalable/apps/$id.svg"
grep -qF -- '\-\-version' <(zcat "$work/usr/share/man/man1/kalvena.1.gz")
troff_said=$(LC_ALL=C man --warnings -l "$work/usr/share/man/man1/kalvena.1.gz" 2>&1 >/dev/null)
[[ -z $troff_said ]] || { echo "the manual page in the C locale: $troff_said"; exit 1; }
"$(dirname "$0")/window_test.sh" 130 "$work/usr/bin/kalvena"

(cd "$work" && cpack --config "$build/CPackConfig.cmake" -B "$work/deb" >/dev/null)
deb=$(ls "$work"/deb/*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libc6 fonts-liberation2 qt6-translations-l10n hicolor-icon-theme \
  shared-mime-info; do
  grep -q "$package" <<<"$depends" || { echo "the .deb does not depend on $package"; exit 1; }
done
dpkg-deb -f "$deb" Recommends | grep -q qt6-wayland || { echo "the .deb does not recommend qt6-wayland"; exit 1; }
# The pictures are drawn by code: Qt's SVG module is not needed at run time.
if grep -q libqt6svg6 <<<"$depends"; then echo "the .deb still depends on libqt6svg6"; exit 1; fi
contents=$(dpkg-deb -c "$deb")
for path in ./usr/bin/kalvena "./usr/share/applications/$id.desktop" \
  "./usr/share/metainfo/$id.metainfo.xml" "./usr/share/mime/packages/$id.xml"; do
  grep -qF "$path" <<<"$contents" || { echo "the .deb lacks $path"; exit 1; }
done
# _FORTIFY_SOURCE needs an optimised build: the unoptimised one the sanitizers run on calls
# snprintf (the design file's numbers) unfortified, which lintian notes; a release cannot.
suppressed=()
if grep -q '^CMAKE_BUILD_TYPE:STRING=Debug$' "$build/CMakeCache.txt"; then
  suppressed=(--suppress-tags hardening-no-fortify-functions)
fi
tags=$(lintian --pedantic --display-info --display-experimental "${suppressed[@]}" "$deb" 2>&1 |
  grep -v 'root privileges' || true)
[[ -z $tags ]] || { echo "lintian says: $tags"; exit 1; }

same_version() {  # what, the version it gives
  [[ $2 == "$version" ]] || { echo "$1 gives version '$2', the project $version"; exit 1; }
}
same_version "kalvena --version" "$("$work/usr/bin/kalvena" --version | sed -n 's/^Kalvena //p')"
same_version "the .deb" "$(dpkg-deb -f "$deb" Version)"
same_version "the metainfo" "$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' \
  "$work/usr/share/metainfo/$id.metainfo.xml" | head -1)"
same_version "the changelog" "$(zcat "$work/usr/share/doc/kalvena/changelog.gz" |
  sed -n '1s/^kalvena (\(.*\)) .*/\1/p')"
same_version "the manual page" "$(zcat "$work/usr/share/man/man1/kalvena.1.gz" |
  sed -n 's/^\.TH .*"Kalvena \([^"]*\)".*/\1/p')"
same_version "the README" "$(sed -n 's/.*--version prints "Kalvena \([^"]*\)".*/\1/p' \
  "$source_dir/README.md")"
echo "installed and validated: $deb"
