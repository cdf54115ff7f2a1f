#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: once in an optimised build with
# warnings as errors, once under AddressSanitizer and UndefinedBehaviorSanitizer; starts the
# program with the README's run command under a virtual display; checks that the committed
# icons match their source; cross-builds the Windows program and runs its tests
# under Wine; makes the release files twice and compares their bytes; runs the benchmarks
# once; then runs the fuzzers for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
echo "== set up in $SECONDS s"

# A source tarball has no history: what needs it is skipped, and says so.
in_git=0
[[ -e .git ]] && in_git=1

echo "== format check"
if ((in_git)); then
  git ls-files '*.cpp' '*.h'
else
  find core ui qt win32 tests tools bench fuzz -name '*.cpp' -o -name '*.h'
fi | xargs clang-format --dry-run --Werror

# Once set up, the build needs no network: it runs without one where the machine lets it
# (a network namespace of its own, with no interface but loopback).
offline=()
if unshare -n true 2>/dev/null; then
  offline=(unshare -n)
else
  echo "note: the build runs with the network, as this user cannot take it away (unshare -n)"
fi

jobs=$(nproc)
for variant in release asan; do
  dir="build-tests-$variant"
  flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DKALVENA_WERROR=ON -DKALVENA_REQUIRE_TESTS=ON)
  if [[ $variant == asan ]]; then
    flags=(-DCMAKE_BUILD_TYPE=Debug -DKALVENA_WERROR=ON -DKALVENA_SANITIZE=ON
      -DKALVENA_REQUIRE_TESTS=ON)
  fi
  echo "== $variant: configure and build${offline:+, without a network}"
  "${offline[@]}" cmake -S . -B "$dir" -G Ninja "${flags[@]}" >/dev/null
  "${offline[@]}" cmake --build "$dir" -j "$jobs"
  echo "== $variant: tests"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs"
done

echo "== the README's run command, under a virtual display"
tests/window_test.sh 150 scripts/run.sh

echo "== the README's run command answers --help and --version without a display"
for option in --help --version; do
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM scripts/run.sh "$option" | grep -q kalvena -i
done

echo "== the icons against their source"
scripts/check-generated.sh build-tests-release

echo "== windows: cross-build, then the tests under Wine"
scripts/test-windows.sh

if ((in_git)); then
  echo "== the release script, twice: the same commit gives the same bytes"
  tests/release_test.sh
else
  echo "== skipped: the release script, twice (a release is made of a commit, and this source has no git history)"
fi

echo "== CI's new Debian 12 root, interrupted, leaves nothing mounted or running"
tests/new_root_interrupt_test.sh

echo "== the benchmarks that the README names run (their figures are not checked)"
python3 bench/startup.py build-tests-release 1
bench/wine_startup.sh 1
bench/code_size.sh

echo "== fuzzers"
scripts/fuzz.sh 30
