#!/usr/bin/env bash
# Runs the release script twice, as two builders would: in folders of different depth, with a
# different umask, time zone and locale, a minute apart. Both must give the same bytes of every
# file; where one differs, diffoscope shows where. Then checks what a user gets: the files named
# by the version, their checksums, and the release notes of the version.
#   release_test.sh
set -euo pipefail
cd "$(dirname "$0")/.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/tmp-a" "$work/a much/deeper/tmp-b"

(umask 022 && TMPDIR=$work/tmp-a TZ=UTC LC_ALL=C.UTF-8 \
  scripts/release.sh --skip-tests --out "$work/a") >"$work/a.log" 2>&1 ||
  { cat "$work/a.log"; exit 1; }
(umask 077 && TMPDIR="$work/a much/deeper/tmp-b" TZ=Asia/Tokyo LC_ALL=bg_BG.UTF-8 \
  scripts/release.sh --skip-tests --out "$work/b") >"$work/b.log" 2>&1 ||
  { cat "$work/b.log"; exit 1; }

version=$(sed -n 's/^project(Kalvena VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
expected=("kalvena-$version-windows-x64.exe" "kalvena_${version}_amd64.deb"
  "kalvena-$version.tar.gz" SHA256SUMS RELEASE-NOTES.md)
[[ $(ls "$work/a" | sort) == $(printf '%s\n' "${expected[@]}" | sort) ]] ||
  { echo "FAIL: the release holds $(ls "$work/a" | tr '\n' ' ')"; exit 1; }
status=0
for f in "${expected[@]}"; do
  if ! cmp -s "$work/a/$f" "$work/b/$f"; then
    echo "FAIL: two builds of the same commit differ in $f"
    diffoscope --text - "$work/a/$f" "$work/b/$f" | head -60 || true
    status=1
  fi
done
(cd "$work/a" && sha256sum --quiet -c SHA256SUMS) || status=1
grep -qx "# Kalvena $version" "$work/a/RELEASE-NOTES.md" || { echo "FAIL: release notes"; status=1; }
grep -q '^- ' "$work/a/RELEASE-NOTES.md" || { echo "FAIL: the notes list no change"; status=1; }
# The Windows program is the one the tests ran: a PE32+ GUI program.
file "$work/a/kalvena-$version-windows-x64.exe" | grep -q 'PE32+ executable (GUI) x86-64' ||
  { echo "FAIL: not a 64-bit Windows GUI program"; status=1; }
((status == 0)) && echo "ok: two builds gave the same bytes: $(cd "$work/a" && cat SHA256SUMS | tr '\n' ' ')"
exit $status
