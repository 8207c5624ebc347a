#!/usr/bin/env bash
# Builds and tests every configuration: the Linux program (debug, and with the
# address and undefined-behaviour sanitizers) and the 32-bit Windows program, whose
# tests run under Wine in a virtual X server.
# Usage: scripts/test-all.sh [preset ...]   (default: linux linux-asan windows-i686)
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh --if-missing

presets=("$@")
if [[ ${#presets[@]} -eq 0 ]]; then presets=(linux linux-asan windows-i686); fi

for preset in "${presets[@]}"; do
  echo "=== $preset: configure, build, test"
  cmake_args=()
  if [[ "$preset" == windows-* ]]; then
    # OpenSSL for the Windows program, built once from Debian's sources and cached.
    if [[ -x scripts/build-openssl-mingw.sh ]]; then
      openssl_dir=$(bash scripts/build-openssl-mingw.sh | tail -n 1)
      cmake_args+=("-DDOSTRA_OPENSSL_DLL_DIR=$openssl_dir")
    fi
  fi
  cmake --preset "$preset" "${cmake_args[@]}" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done
echo "=== all configurations passed: ${presets[*]}"
