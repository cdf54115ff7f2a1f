#!/usr/bin/env bash
# Installs what is missing and cross-builds the native Windows program with MinGW-w64:
# build-windows/kalvena.exe, one file that imports only system DLLs. Then says how large it
# is and what it imports. It needs MinGW-w64 only: no Qt, no tool of the host.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --windows
out=build-windows

# The toolchain is given when the build folder is made; CMake warns of it on a later run.
toolchain=()
[[ -f $out/cross/CMakeCache.txt ]] || toolchain=(--toolchain cmake/mingw-w64-x86_64.cmake)
cmake -S . -B "$out/cross" -G Ninja "${toolchain[@]}" \
  -DCMAKE_BUILD_TYPE=Release -DKALVENA_WIN32=ON -DKALVENA_WERROR=ON >/dev/null
cmake --build "$out/cross" -j "$(nproc)"
# strip writes the PE header's time stamp and checksum: the time is the builder's
# SOURCE_DATE_EPOCH, else the last commit's, else (in a source tarball, whose files carry that
# time) the time of CMakeLists.txt, as the .deb's, so that a rebuild gives the same bytes.
if [[ -z ${SOURCE_DATE_EPOCH:-} ]]; then
  SOURCE_DATE_EPOCH=$( ([[ -e .git ]] && git log -1 --format=%ct 2>/dev/null) ||
    stat -c %Y CMakeLists.txt)
fi
SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH x86_64-w64-mingw32-strip -o "$out/kalvena.exe" \
  "$out/cross/win32/kalvena.exe"

echo "== $out/kalvena.exe: $(stat -c %s "$out/kalvena.exe") bytes stripped; it imports:"
x86_64-w64-mingw32-objdump -p "$out/kalvena.exe" | sed -n 's/^\tDLL Name: /  /p'
