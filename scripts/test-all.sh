#!/usr/bin/env bash
# Builds and tests every configuration: the Linux program (debug, and with the
# address and undefined-behaviour sanitizers) and the 32-bit Windows program, whose
# tests run under Wine in a virtual X server. Where the kernel runs no 32-bit x86 code
# those tests report themselves skipped, and the 64-bit build of the same sources runs
# them under 64-bit Wine.
# Usage: scripts/test-all.sh [preset ...]
#   (default: linux linux-asan windows-i686 windows-x86_64; the Windows presets use the
#   vendor stand-in and fixture tools of the linux preset's build)
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh --if-missing

presets=("$@")
if [[ ${#presets[@]} -eq 0 ]]; then presets=(linux linux-asan windows-i686 windows-x86_64); fi

# Whether Wine runs programs of the preset's architecture on this machine.
wine_runs() {
  case "$1" in
    windows-i686) wine --version >/dev/null 2>&1 ;;
    *) wine64 --version >/dev/null 2>&1 || /usr/lib/wine/wine64 --version >/dev/null 2>&1 ;;
  esac
}

for preset in "${presets[@]}"; do
  echo "=== $preset: configure, build, test"
  cmake_args=()
  if [[ "$preset" == windows-* ]]; then
    # The whole-program tests under Wine use the Linux vendor stand-in and PE builder.
    if [[ ! -x build/linux/tools/vendor_standin/vendor_standin ]]; then
      cmake --preset linux >/dev/null
      cmake --build build/linux --target vendor_standin make_versioned_exe
    fi
    # OpenSSL for the Windows program, built once from Debian's sources and cached;
    # skipped where this architecture's tests cannot run (the build itself needs no DLLs).
    if wine_runs "$preset"; then
      openssl_dir=$(bash scripts/build-openssl-mingw.sh --arch "${preset#windows-}" | tail -n 1)
      cmake_args+=("-DDOSTRA_OPENSSL_DLL_DIR=$openssl_dir")
    fi
  fi
  cmake --preset "$preset" "${cmake_args[@]}" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done
echo "=== all configurations passed: ${presets[*]}"
