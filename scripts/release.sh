#!/usr/bin/env bash
# Makes the release files of the checked-out commit, built from a clean copy of it (what
# `git archive` gives, so that nothing uncommitted gets in), after running every test, and
# writes them only once the .deb has installed and worked on a clean Debian 12
# (scripts/check-deb-on-debian.sh):
#   kalvena-VERSION-windows-x64.exe   the Windows program
#   kalvena_VERSION_amd64.deb         the Debian package
#   kalvena-VERSION.tar.gz            the source
#   SHA256SUMS                        their checksums, for `sha256sum -c SHA256SUMS`
#   RELEASE-NOTES.md                  the changelog's entry for the version
# The same commit gives the same bytes wherever and whenever it is built: every time in them is
# the last commit's (SOURCE_DATE_EPOCH), and no build folder is written into them.
#   scripts/release.sh [--out DIR] [--skip-tests]
# DIR is dist/ unless given. --skip-tests is for a caller that has just run them.
set -euo pipefail
cd "$(dirname "$0")/.."
# The folders CPack makes in the package get the builder's umask: the script sets its own.
umask 022
out=dist
run_tests=1
while (($#)); do
  case $1 in
    --out) out=$2; shift 2 ;;
    --skip-tests) run_tests=0; shift ;;
    *) echo "release.sh: unknown option $1" >&2; exit 2 ;;
  esac
done

scripts/install-deps.sh
version=$(sed -n 's/^project(Kalvena VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
[[ -n $version ]] || { echo "release.sh: no version in CMakeLists.txt" >&2; exit 1; }
if [[ -n $(git status --porcelain --untracked-files=no) ]]; then
  echo "release.sh: note: uncommitted changes are left out; the release is of $(git rev-parse --short HEAD)"
fi
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
export SOURCE_DATE_EPOCH

if ((run_tests)); then
  echo "== the tests"
  scripts/test.sh
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"
out=$(cd "$out" && pwd)
# Made here first; written to the output folder only once the package has worked on Debian.
files=$work/files
mkdir "$files"

echo "== the source: kalvena-$version.tar.gz"
git archive --format=tar.gz --prefix="kalvena-$version/" -o "$files/kalvena-$version.tar.gz" HEAD
tar -xzf "$files/kalvena-$version.tar.gz" -C "$work"
src=$work/kalvena-$version

echo "== the Debian package"
# Always with the title bar for Wayland: a release without it would differ from one with it.
cmake -S "$src" -B "$work/linux" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKALVENA_WERROR=ON \
  -DKALVENA_BUILD_TESTS=OFF -DKALVENA_BUILD_BENCHMARKS=OFF \
  -DKALVENA_REQUIRE_WAYLAND_TITLE_BAR=ON >/dev/null
cmake --build "$work/linux" -j "$(nproc)" >/dev/null
(cd "$work" && cpack --config "$work/linux/CPackConfig.cmake" -B "$work/deb" >/dev/null)
cp "$work/deb/kalvena_${version}_amd64.deb" "$files/"

echo "== the Windows program"
cmake -S "$src" -B "$work/windows" -G Ninja --toolchain "$src/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DKALVENA_WERROR=ON -DKALVENA_WIN32=ON \
  -DKALVENA_BUILD_TESTS=OFF -DKALVENA_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$work/windows" -j "$(nproc)" --target kalvena >/dev/null
x86_64-w64-mingw32-strip -o "$files/kalvena-$version-windows-x64.exe" "$work/windows/win32/kalvena.exe"

echo "== the release notes and the checksums"
# The changelog's first entry: its lines between the heading and the signature.
notes=$(sed -n '2,/^ -- /p' "$src/packaging/changelog.in" |
  sed -e '/^ -- /d' -e 's/^  \* /- /' -e 's/^    /  /' -e '/./,$!d')
printf '# Kalvena %s\n\n%s\n' "$version" "$notes" >"$files/RELEASE-NOTES.md"
(cd "$files" && sha256sum "kalvena-$version-windows-x64.exe" "kalvena_${version}_amd64.deb" \
  "kalvena-$version.tar.gz" >SHA256SUMS)
echo "== the package on a clean Debian 12"
scripts/check-deb-on-debian.sh "$files/kalvena_${version}_amd64.deb" "$version"

rm -f "$out"/kalvena* "$out/SHA256SUMS" "$out/RELEASE-NOTES.md"
cp "$files"/* "$out/"
echo "== $out:"
(cd "$out" && cat SHA256SUMS)
