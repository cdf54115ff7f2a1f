#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Kalvena need,
# and only those that are missing. With everything present it is quiet and quick.
#   scripts/install-deps.sh             everything
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
)

packages=(
  g++
  cmake
  ninja-build
  pkg-config
  qt6-base-dev
  # The program's own title bar on Wayland: Qt's Wayland client and Qt's private headers.
  qt6-wayland-dev
  qt6-base-private-dev
  qt6-svg-dev
  libgl-dev
  libgtest-dev
  fonts-liberation2
  clang-format
  clang
  libclang-rt-14-dev
  libbenchmark-dev
  desktop-file-utils
  appstream
  time
  file
  dpkg-dev
  # The manual page rendered as a reader gets it.
  man-db
  qt6-translations-l10n
  # Desktop themes that the Qt tests run under.
  qt6ct
  qt6-gtk-platformtheme
  # The README's run command under a virtual display, and the .deb's check.
  xdotool
  x11-utils
  # A Wayland session for the tests: Weston, headless, with its X server (Xwayland), and Qt's
  # Wayland plugin.
  weston
  xwayland
  qt6-wayland
  # What shows where two builds of a release differ, and the clean Debian a release's package
  # is tried on.
  diffoscope-minimal
  debootstrap
  lintian
  "${windows[@]}"
)
if [[ ${1:-} == --windows ]]; then packages=("${windows[@]}"); fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
