#!/usr/bin/env bash
# The set-up step, the only one that talks to the package registry: installs the Debian packages
# that building, running and testing Kalvena need, and only those that are missing, then fetches
# Qt Wayland's source for the title bar (scripts/fetch-qtwayland-source.sh). With everything
# present it is quiet and quick. The build after it needs no network.
#   scripts/install-deps.sh             everything: the tests' tools too
#   scripts/install-deps.sh --run       what building and running the program needs, no more
#   scripts/install-deps.sh --windows   what kalvena.exe and its tests under Wine need: no Qt
set -euo pipefail

windows=(
  cmake
  ninja-build
  # The Windows program: cross compiler, GoogleTest's sources for its tests, and Wine on a
  # virtual display to run them.
  g++-mingw-w64-x86-64-posix
  googletest
  wine
  wine64
  fonts-wine
  xvfb
  xauth
  # What the tests read the windows' numbers with.
  tesseract-ocr
  tesseract-ocr-bul
  # The design file's format (JSON), header-only: the cross build takes its headers alone.
  nlohmann-json3-dev
  # The FFT of a measured response's minimum phase: its C++ template alone, header-only.
  libkissfft-dev
)

# Building the program and running it: its font, Qt's Bulgarian texts, Qt's Wayland plugin.
run=(
  g++
  cmake
  ninja-build
  pkg-config
  dpkg-dev
  qt6-base-dev
  # The program's own title bar on Wayland: Qt's Wayland client and Qt's private headers.
  qt6-wayland-dev
  qt6-base-private-dev
  # The icon tool, built with the program.
  qt6-svg-dev
  libgl-dev
  # The design file's format (JSON), header-only; the FFT's template, header-only.
  nlohmann-json3-dev
  libkissfft-dev
  fonts-liberation2
  qt6-translations-l10n
  qt6-wayland
  # What the set-up step fetches Qt Wayland's source through checks the mirror's certificate.
  ca-certificates
)

packages=(
  "${run[@]}"
  # The source is listed and archived by git; the tests are GoogleTest.
  git
  libgtest-dev
  clang-format
  clang
  libclang-rt-14-dev
  libbenchmark-dev
  desktop-file-utils
  shared-mime-info
  appstream
  time
  file
  # The manual page rendered as a reader gets it.
  man-db
  # Desktop themes that the Qt tests run under.
  qt6ct
  qt6-gtk-platformtheme
  # A screen reader's view from another process: the accessibility bus and its Python client.
  at-spi2-core
  dbus-daemon
  python3-gi
  gir1.2-atspi-2.0
  # The README's run command under a virtual display, and the .deb's check.
  xdotool
  x11-utils
  # A Wayland session for the tests: Weston, headless, with its X server (Xwayland), and Qt's
  # Wayland plugin.
  weston
  xwayland
  # What shows where two builds of a release differ, and the clean Debian a release's package
  # is tried on.
  diffoscope-minimal
  debootstrap
  lintian
  "${windows[@]}"
)
case ${1:-} in
  --windows) packages=("${windows[@]}") ;;
  --run) packages=("${run[@]}") ;;
  "") ;;
  *) echo "install-deps.sh: unknown option $1" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]} > 0)); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
if [[ ${1:-} != --windows ]]; then "$(dirname "$0")/fetch-qtwayland-source.sh"; fi
