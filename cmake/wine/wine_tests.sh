#!/usr/bin/env bash
# Running the Windows build's tests under Wine, in prefixes of their own made once per
# build directory:
#
#   wine_tests.sh create ARCH WINE TEMPLATE UNIT   a pristine prefix (TEMPLATE), and a
#                                                  copy for the unit tests (UNIT) whose
#                                                  windows need no display (Wine's null
#                                                  graphics driver)
#   wine_tests.sh stop WINE UNIT                   ends the unit tests' wineserver
#   wine_tests.sh run ARCH WINE PROGRAM [ARGS...]  one test program
#   wine_tests.sh can-run ARCH WINE                exit 0 if Wine of that kind runs here
#
# ARCH is win32 or win64. Some virtual machines run no 32-bit x86 code at all; there the
# tests of the 32-bit build are skipped (exit code 77) unless DOSTRA_WINE_I386_EMULATION=1
# asks for qemu-i386 (Debian: qemu-user), which needs root for binfmt_misc and makes
# every Wine process take about a minute to start.
set -euo pipefail
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Wine maps Windows file names to Unix ones through the locale's character set, and
# the tests use non-ASCII names: a caller without a UTF-8 locale would break them.
export LC_ALL=C.UTF-8
STEP=${DOSTRA_WINE_STEP_TIMEOUT:-2400}
SKIP=77

enable_i386_emulation() {
  local qemu binfmt=/proc/sys/fs/binfmt_misc
  qemu=$(command -v qemu-i386 || command -v qemu-i386-static || true)
  [[ -n "$qemu" && $(id -u) -eq 0 ]] || return 1
  [[ -e $binfmt/register ]] || mount -t binfmt_misc binfmt_misc "$binfmt" || return 1
  if [[ ! -e $binfmt/qemu-i386 ]]; then
    printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:'"$qemu"':F' \
      >"$binfmt/register" || return 1
  fi
}

# Whether Wine of that kind starts here; for win32, also on emulation when asked for.
can_run() {
  local arch=$1 wine=$2
  "$wine" --version >/dev/null 2>&1 && return 0
  [[ "$arch" == win32 && "${DOSTRA_WINE_I386_EMULATION:-0}" == 1 ]] || return 1
  enable_i386_emulation && "$wine" --version >/dev/null 2>&1
}

explain_skip() {
  echo "SKIPPED: $1 Wine does not start on this machine (its kernel runs no 32-bit x86" \
    "code); the 64-bit build (preset windows-x86_64) runs these tests here." >&2
}

create() {
  local arch=$1 wine=$2 template=$3 unit=$4
  export WINEARCH=$arch
  if ! can_run "$arch" "$wine"; then
    explain_skip "$arch"
    exit 0  # nothing to prepare; every test that needs Wine reports itself skipped
  fi
  if [[ ! -f "$template/.dostra-ready" ]]; then
    rm -rf "$template"
    # No display: this prefix is only ever copied, never run with windows.
    env -u DISPLAY WINEPREFIX="$template" timeout "$STEP" "$wine" wineboot -i
    # A crashing program gets a backtrace on stderr and ends, instead of a crash dialog
    # that no one closes.
    env -u DISPLAY WINEPREFIX="$template" timeout "$STEP" "$wine" reg add \
      'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null
    WINEPREFIX="$template" timeout 600 wineserver -w
    touch "$template/.dostra-ready"
  fi
  if [[ ! -f "$unit/.dostra-ready" ]]; then
    rm -rf "$unit"
    cp -a "$template" "$unit"
    rm -f "$unit/.dostra-ready"
    WINEPREFIX="$unit" timeout "$STEP" "$wine" reg add 'HKCU\Software\Wine\Drivers' \
      /v Graphics /t REG_SZ /d null /f >/dev/null
    WINEPREFIX="$unit" timeout 600 wineserver -w
    touch "$unit/.dostra-ready"
  fi
}

case "${1:-}" in
  create) create "$2" "$3" "$4" "$5" ;;
  stop) WINEPREFIX="$3" timeout 120 wineserver -k 2>/dev/null || true ;;
  run)
    arch=$2 wine=$3
    shift 3
    if ! can_run "$arch" "$wine"; then
      explain_skip "$arch"
      exit $SKIP
    fi
    # One program runs all its tests here: one that ends early must not pass.
    exec bash "$(dirname "$0")/../run_to_completion.sh" --windows env WINEARCH="$arch" "$wine" "$@"
    ;;
  can-run) can_run "$2" "$3" ;;
  *)
    echo "usage: $0 create|stop|run|can-run ..." >&2
    exit 2
    ;;
esac
