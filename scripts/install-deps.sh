#!/usr/bin/env bash
# Installs what building, demonstrating and testing the updater needs on Debian 12.
# Usage: scripts/install-deps.sh [--if-missing]
#   --if-missing  do nothing when everything is already installed (used by the other scripts)
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ pkg-config git ca-certificates
  # libraries and tests of the Linux program
  qt6-base-dev libgl-dev libgtest-dev libgmock-dev libssl-dev openssl zlib1g-dev
  # the 32-bit Windows program, built here and run under Wine; its 64-bit twin runs the
  # same tests where the kernel runs no 32-bit x86 code
  g++-mingw-w64-i686 g++-mingw-w64-x86-64-posix mingw-w64-tools libz-mingw-w64-dev
  wine wine32:i386 wine64 fonts-wine
  # driving and looking at windows as a person would
  xvfb xauth xdotool x11-utils imagemagick librsvg2-bin openbox
  # OpenSSL's source for the Windows DLLs
  dpkg-dev
)

missing() {
  local name
  for name in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$name" 2>/dev/null | grep -q 'install ok installed' || return 0
  done
  return 1
}

if [[ "${1:-}" == "--if-missing" ]] && ! missing; then
  exit 0
fi

sudo=""
if [[ $(id -u) -ne 0 ]]; then sudo="sudo"; fi

$sudo dpkg --add-architecture i386
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${packages[@]}"

# GCC 12's default win32 thread model has no std::thread or std::mutex.
for tool in gcc g++; do
  $sudo update-alternatives --set "i686-w64-mingw32-$tool" "/usr/bin/i686-w64-mingw32-$tool-posix"
done
