#!/usr/bin/env bash
# The toolkits' size beside its limits: qt/ and win32/ together, and each .cpp with its .h over
# 400 lines. Prints the figures; it checks none of them.
#   bench/code_size.sh
set -euo pipefail
cd "$(dirname "$0")/.."
total=$(cat qt/*.cpp qt/*.h win32/*.cpp win32/*.h | wc -l)
echo "qt/ and win32/: $total lines of C++ (limit 5400)"
for cpp in qt/*.cpp win32/*.cpp; do
  pair=("$cpp")
  [[ -f ${cpp%.cpp}.h ]] && pair+=("${cpp%.cpp}.h")
  lines=$(cat "${pair[@]}" | wc -l)
  ((lines > 400)) && echo "  ${cpp%.cpp}: $lines lines with its header (limit 400)"
done
exit 0
