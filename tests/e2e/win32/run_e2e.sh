#!/usr/bin/env bash
# The Windows program driven from outside, as a person would: under Wine in a virtual
# X server, in a fresh 32-bit prefix, from an application folder of its own.
#
#   run_e2e.sh ARCH WINE EXE INSPECTOR OBJDUMP OUTPUT_DIR [PREFIX_TEMPLATE]
#
# ARCH is win32 (the product) or win64 (the 64-bit build, for machines that run no
# 32-bit x86 code); exit code 77 when Wine of that kind does not start here.
#
# Every way out (Esc, Shift+Esc, "Sai&r", Alt+F4, the close box) must end the program
# with exit code 0. The window's layout is read back from the live window by our
# inspection helper; screenshots land in OUTPUT_DIR: e2e-win32-screen.png (the whole
# virtual screen) and e2e-win32-screenshot.png (the window).
set -uo pipefail

if [[ "${1:-}" != "--inside-display" ]]; then
  if ! "$2" --version >/dev/null 2>&1; then
    echo "SKIPPED: $1 Wine does not start on this machine" >&2
    exit 77
  fi
  # Everything that touches Wine runs inside one virtual X server: a wineserver that
  # starts without a display breaks the GUI runs after it.
  exec timeout --kill-after=30 "${DOSTRA_E2E_TIMEOUT:-3000}" \
    xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" "$0" --inside-display "$@"
fi
shift
ARCH=$1 WINE=$2 EXE=$3 INSPECTOR=$4 OBJDUMP=$5 OUT=$6 TEMPLATE=${7:-}
# Under an emulated 32-bit CPU every Wine process takes a minute to start.
STEP=${DOSTRA_E2E_STEP_TIMEOUT:-600}

# shellcheck source=wine_app_lib.sh
source "$(dirname "$0")/wine_app_lib.sh"

use_work_folder e2e-win32
cleanup() {
  timeout 60 wineserver -k 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT

# The executable itself: a GUI program importing system DLLs only, PE32 (i686) for
# the product.
headers=$("$OBJDUMP" -p "$EXE")
magic=010b
[[ "$ARCH" == win64 ]] && magic=020b
grep -q "Magic[[:space:]]*$magic" <<<"$headers" || fail "not a $ARCH image"
grep -q 'Subsystem[[:space:]]*00000002' <<<"$headers" || fail "not a GUI-subsystem program"
while read -r dll; do
  case "${dll,,}" in
    kernel32.dll | user32.dll | gdi32.dll | comctl32.dll | gdiplus.dll | msimg32.dll | \
      shlwapi.dll | advapi32.dll | shell32.dll | ole32.dll | ws2_32.dll | crypt32.dll | \
      version.dll | msvcrt.dll) ;;
    *) fail "imports a DLL that Windows does not ship: $dll" ;;
  esac
done < <(grep 'DLL Name:' <<<"$headers" | awk '{print $3}')

note "prefix"
prepare_prefix

# A vendor address that refuses connections at once: the update check gets no reply.
export DOSTRA_VENDOR_URL=https://127.0.0.1:9

mkdir -p "$APP_DIR"
cp "$EXE" "$APP_DIR/DOSTRA_UPDATE.exe"
cp "$INSPECTOR" "$WORK/inspect_windows.exe"

note "resources"
# Read from a copy on drive C: Wine's library loader takes no path longer than MAX_PATH,
# and the build folder may lie deeper than that.
mkdir -p "$WINEPREFIX/drive_c/inspected"
cp "$EXE" "$WINEPREFIX/drive_c/inspected/DOSTRA_UPDATE.exe"
resources=$(timeout "$STEP" "$WINE" "$WORK/inspect_windows.exe" resources 'C:\inspected\DOSTRA_UPDATE.exe') ||
  fail "inspect_windows resources ended with exit code $?"
for want in 'resource|#14|MAINICON' 'resource|#24|#1' 'resource|#10|CLOUD_DOWNLOAD.PNG' \
  'resource|#10|DATABASE_ALERT.PNG' 'level="asInvoker" uiAccess="false"' \
  'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' \
  '{e2011457-1546-43c5-a5fe-008deee3d3f0}' '{35138b9a-5d96-4fbd-8e2d-a2440225f93a}' \
  '{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}' '{1f676c76-80e1-4239-95bb-83d0f6d0da78}' \
  '{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}' '>false</dpiAware>'; do
  grep -qF -- "$want" <<<"$resources" || fail "resources lack: $want"
done
grep -q '^resource|#16|' <<<"$resources" && fail "a version resource is present"

# The window once its first activation has run the update check. No vendor service
# answers here (the address below refuses connections), so the check ends in its web
# error outcome: the alert picture, "ERRO !" and the message shown, "Fecha&r" offered,
# everything else as created.
check_layout() {
  local live=$1
  local expected=(
    'form|DostraForm|Dostra - Atualização de Versão|visible|enabled|200,200,'
    'control|DostraPicture||visible|enabled|168,8,34,34'
    'control|DostraPicture||visible|enabled|24,16,32,32'
    'control|Static|ERRO !|visible|enabled|64,33,'
    'control|Static|Erro ao acessar web. Tente novamente mais tarde|visible|enabled|24,48,'
    'control|msctls_progress32||hidden|enabled|24,64,328,16'
    'control|Static|A nova versão está pronta para ser instalada|hidden|enabled|24,106,'
    'control|Button|Instalar|hidden|enabled|24,128,72,25'
    'control|msctls_progress32||hidden|enabled|99,129,102,23'
    'control|Button|Acessar|hidden|enabled|203,128,72,25'
    'control|Button|Fecha&r|visible|enabled|277,128,75,25'
  )
  live=$(plain_class_names "$live")
  for want in "${expected[@]}"; do
    grep -qF -- "$want" <<<"$live" || fail "live window lacks: $want"
  done
  grep -q '|client=373x182|' <<<"$live" || fail "client area is not 373x182"
  [[ $(grep -c '^control|' <<<"$live") -eq 10 ]] || fail "expected 10 child windows"
  # Label1 wraps at 320 pixels at most.
  local width
  width=$(grep -F 'control|Static|Erro ao acessar web' <<<"$live" | awk -F'|' '{print $6}' | cut -d, -f3)
  [[ -n "$width" && "$width" -le 320 ]] || fail "Label1 is wider than 320 pixels"
}

# way-out-name, then the xdotool commands that take it.
run_way_out() {
  local name=$1
  shift
  note "$name"
  start_app
  if ! wait_for_window; then
    fail "$name: the window did not appear"
    kill_app
    return
  fi
  if [[ "$name" == "Esc" ]]; then
    local live
    live=$(timeout "$STEP" "$WINE" "$WORK/inspect_windows.exe" window DostraForm)
    printf '%s\n' "$live" >"$OUT/e2e-win32-window.txt"
    check_layout "$live"
    sleep 2
    screenshot_window "$live" "$OUT/e2e-win32-screen.png" "$OUT/e2e-win32-screenshot.png"
  fi
  if [[ "$name" == "close box" ]]; then
    local box
    box=$(timeout "$STEP" "$WINE" "$WORK/inspect_windows.exe" window DostraForm | head -n1 |
      sed -nE 's/.*\|closebox=([0-9]+),([0-9]+).*/\1 \2/p')
    [[ -n "$box" ]] || fail "close box not found"
    set -- mousemove $box click 1
  fi
  xdotool windowfocus --sync "$WID" 2>/dev/null
  while (($#)); do
    if [[ "$1" == "then" ]]; then
      sleep 2
      shift
      continue
    fi
    local args=()
    while (($#)) && [[ "$1" != "then" ]]; do
      args+=("$1")
      shift
    done
    xdotool "${args[@]}"
  done
  wait_for_exit
  local code=$?
  [[ $code -eq 0 ]] || fail "$name: exit code $code"
}

run_way_out "Esc" key Escape
run_way_out "Shift+Esc" key shift+Escape
run_way_out "Sair" key alt+a then key r
run_way_out "Alt+F4" key alt+F4
run_way_out "close box"

if ((failures)); then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "all ways out ended with exit code 0"
