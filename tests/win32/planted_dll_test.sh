#!/usr/bin/env bash
# No DLL planted beside kalvena.exe is loaded while it starts, paints and answers a screen
# reader, with Wine told to prefer such DLLs over its own. A portable program is run from
# wherever it was saved, often a Downloads folder that holds other downloads.
# usage: planted_dll_test.sh <wine-run.sh> <kalvena.exe> <msaa_probe.exe> <planted_dll.dll>
set -euo pipefail
run=$1 kalvena=$2 probe=$3 planted=$4
dir=$(mktemp -d "${TMPDIR:-/tmp}/kalvena-planted.XXXXXX")
trap 'rm -rf "$dir"' EXIT
names=(gdiplus oleacc msimg32 windowscodecs uxtheme)
mkdir "$dir/downloads" "$dir/careless" "$dir/probe"
cp "$kalvena" "$dir/downloads/kalvena.exe"
for n in "${names[@]}"; do cp "$planted" "$dir/downloads/$n.dll"; done
cp "$probe" "$dir/probe/"
export WINEDLLOVERRIDES="mscoree,mshtml=;$(IFS=,; echo "${names[*]}")=n,b"

# The planting works: a program that loads uxtheme by name gets the one beside it.
cp "$probe" "$planted" "$dir/careless/"
mv "$dir/careless/$(basename "$planted")" "$dir/careless/uxtheme.dll"
"$run" "$dir/careless/$(basename "$probe")" --load uxtheme.dll
[[ -f $dir/careless/uxtheme.dll.loaded ]] || { echo "FAIL: the planted DLL leaves no mark"; exit 1; }

# kalvena.exe starts, paints, answers a screen reader and closes, and loads none of them.
"$run" "$dir/downloads/kalvena.exe" &
program=$!
"$run" "$dir/probe/$(basename "$probe")" --close >"$dir/heard"
wait "$program"
grep -q $'\tНиски fc Hz\t42\t' "$dir/heard" || { echo "FAIL: no screen reader's view"; cat "$dir/heard"; exit 1; }
loaded=$(cd "$dir/downloads" && ls -- *.loaded 2>/dev/null || true)
if [[ -n $loaded ]]; then
  echo "FAIL: kalvena.exe loaded the DLLs planted beside it:" $loaded
  exit 1
fi
echo "no planted DLL was loaded: ${names[*]}"
