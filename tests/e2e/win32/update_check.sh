#!/usr/bin/env bash
# The Windows program's update check against our vendor stand-in, under Wine in a
# virtual X server, read back from the live window:
#
#   update_check.sh ARCH WINE EXE INSPECTOR OUTPUT_DIR PREFIX_TEMPLATE HOST_TOOLS_DIR [DLL...]
#
# HOST_TOOLS_DIR is a Linux build's binary folder holding vendor_standin and
# make_versioned_exe (the stand-in is a Linux program); DLL... are OpenSSL's DLLs, put
# beside the program. Exit code 77 (skipped) when Wine of that kind does not start here
# or the host tools or the DLLs are missing.
#
# Cases, each ended with Esc and expected to exit with code 0:
#   installed  the service names the installed version 3.12.5: "already installed"
#              in the window, and the request on the wire byte for byte
#   refused    nothing listens at the service's address: the web error
#   untrusted  a certificate nobody trusts: the web error, and no request sent
#   unknown-issuer  the stand-in's CA known neither to OpenSSL (no SSL_CERT_FILE) nor to
#              Windows: the web error, and no request sent
#   windows-root  the same CA in the Windows root store only: Windows' chain engine
#              accepts the server, "already installed"
# The window of the first case is saved as OUTPUT_DIR/e2e-win32-installed.png.
set -uo pipefail

skip() {
  echo "SKIPPED: $*" >&2
  exit 77
}

# The tool in the folder itself or where a build puts it (tools/<name>/<name>).
find_tool() {
  local name
  for name in "$1/$2" "$1/tools/$2/$2"; do
    [[ -x "$name" && -f "$name" ]] && {
      printf '%s\n' "$name"
      return 0
    }
  done
  return 1
}

if [[ "${1:-}" != "--inside-display" ]]; then
  "$2" --version >/dev/null 2>&1 || skip "$1 Wine does not start on this machine"
  if ! find_tool "$7" vendor_standin >/dev/null || ! find_tool "$7" make_versioned_exe >/dev/null; then
    skip "host tools vendor_standin and make_versioned_exe not found in '$7'; build them" \
      "(cmake --preset linux && cmake --build build/linux --target vendor_standin" \
      "make_versioned_exe) or point DOSTRA_HOST_TOOLS_DIR at a Linux build folder"
  fi
  openssl_arch=i686
  [[ "$1" == win64 ]] && openssl_arch=x86_64
  (($# > 7)) || skip "OpenSSL's DLLs are missing; run scripts/build-openssl-mingw.sh --arch" \
    "$openssl_arch and configure with -DDOSTRA_OPENSSL_DLL_DIR=<the folder it prints>"
  # One virtual X server for everything that touches Wine: a wineserver that starts
  # without a display breaks the GUI runs after it.
  exec timeout --kill-after=30 "${DOSTRA_E2E_TIMEOUT:-1500}" \
    xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" bash "$0" --inside-display "$@"
fi
shift
ARCH=$1 WINE=$2 EXE=$3 INSPECTOR=$4 OUT=$5 TEMPLATE=$6 HOST_TOOLS=$7
shift 7
DLLS=("$@")
STANDIN=$(find_tool "$HOST_TOOLS" vendor_standin)
MAKE_EXE=$(find_tool "$HOST_TOOLS" make_versioned_exe)
STEP=${DOSTRA_E2E_STEP_TIMEOUT:-600}

# shellcheck source=wine_app_lib.sh
source "$(dirname "$0")/wine_app_lib.sh"

use_work_folder e2e-update-check
STANDIN_PID=
stop_standin() {
  [[ -n "$STANDIN_PID" ]] || return 0
  kill "$STANDIN_PID" 2>/dev/null
  wait "$STANDIN_PID" 2>/dev/null
  STANDIN_PID=
}
cleanup() {
  [[ -n "$APP_PID" ]] && kill "$APP_PID" 2>/dev/null
  stop_standin
  timeout 60 wineserver -k 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT

note "prefix and application folder"
prepare_prefix
mkdir -p "$APP_DIR"
cp "$EXE" "$APP_DIR/DOSTRA_UPDATE.exe"
cp "${DLLS[@]}" "$APP_DIR/"
"$MAKE_EXE" "$APP_DIR/Velmira.exe" 3.12.5 || fail "make_versioned_exe"
cp "$INSPECTOR" "$WORK/inspect_windows.exe"

# The stand-in's CA (made by its first start, reused by the later ones), as OpenSSL
# inside Wine opens it: a Windows path on the drive that maps the Linux root.
CA=$WORK/ca.pem
export SSL_CERT_FILE="Z:${CA//\//\\}"

# Puts the CA into the prefix's Windows root store, as the registry keeps it: a property
# list whose one entry (id 32) is the certificate in DER, under its SHA-1 thumbprint.
trust_ca_in_windows() {
  local der length thumbprint
  der=$(openssl x509 -in "$CA" -outform DER | od -An -v -tx1 | tr -d ' \n')
  length=$(printf '%08x' $((${#der} / 2)))
  thumbprint=$(openssl x509 -in "$CA" -noout -fingerprint -sha1 | sed 's/.*=//; s/://g')
  timeout "$STEP" "$WINE" reg add \
    "HKLM\\Software\\Microsoft\\SystemCertificates\\Root\\Certificates\\$thumbprint" /v Blob \
    /t REG_BINARY /d "2000000001000000${length:6:2}${length:4:2}${length:2:2}${length:0:2}$der" \
    /f >/dev/null 2>&1
}
printf '%s' '[[{"ID_ERRO":0,"DS_ERRO":"","VERSAO_ATUAL":"03012005"}]]' >"$WORK/reply.json"

# start_standin RECORD_DIR [--untrusted]; sets PORT.
start_standin() {
  local record=$1 port_file=$WORK/port
  shift
  rm -f "$port_file"
  "$STANDIN" --ca-out "$CA" --reply-file "$WORK/reply.json" --record-dir "$record" \
    --port-file "$port_file" "$@" >"$WORK/standin.log" 2>&1 &
  STANDIN_PID=$!
  local deadline=$((SECONDS + 30))
  until [[ -s "$port_file" ]]; do
    if ! kill -0 "$STANDIN_PID" 2>/dev/null || ((SECONDS >= deadline)); then
      cat "$WORK/standin.log" >&2
      fail "the stand-in did not start"
      PORT=
      return 1
    fi
    sleep 0.2
  done
  PORT=$(<"$port_file")
}

# The live window once the check has offered "Fecha&r", which it does last.
LIVE=
wait_for_outcome() {
  local deadline=$((SECONDS + 120))
  while ((SECONDS < deadline)); do
    LIVE=$(timeout 60 "$WINE" "$WORK/inspect_windows.exe" window DostraForm)
    grep -q '^control|Button|Fecha&r|visible|enabled|' <<<"$LIVE" && return 0
    kill -0 "$APP_PID" 2>/dev/null || return 1
    sleep 1
  done
  return 1
}

# Presses Esc; returns the program's exit code (124 when it had to be killed).
escape_and_wait() {
  xdotool windowfocus --sync "$WID" key Escape 2>/dev/null
  wait_for_exit
}

# run_case NAME EXPECTED_LABEL1 [screenshot]: one run of the program, from start to Esc.
run_case() {
  local name=$1 message=$2 shot=${3:-}
  note "$name"
  start_app
  if ! wait_for_window || ! wait_for_outcome; then
    fail "$name: the window with the check's outcome did not appear"
    kill_app
    return
  fi
  printf '%s\n' "$LIVE" >"$OUT/e2e-win32-$name.txt"
  local live want
  live=$(plain_class_names "$LIVE")
  for want in "control|Static|$message|visible|enabled|" \
    'control|Static|ERRO !|visible|enabled|' \
    'control|Button|Fecha&r|visible|enabled|' \
    'control|Button|Instalar|hidden|' \
    'control|msctls_progress32||hidden|enabled|24,64,'; do
    grep -qF -- "$want" <<<"$live" || fail "$name: live window lacks: $want"
  done
  # img_alert: the picture at 24,16 beside "ERRO !".
  grep -qE '^control\|DostraPicture\|\|visible\|enabled\|24,16,' <<<"$live" ||
    fail "$name: the alert picture is not shown"
  if [[ -n "$shot" ]]; then
    sleep 1
    screenshot_window "$LIVE" "$WORK/screen.png" "$shot"
  fi
  escape_and_wait
  local code=$?
  [[ $code -eq 0 ]] || fail "$name: exit code $code"
}

WEB_ERROR='Erro ao acessar web. Tente novamente mais tarde'

# The service names the installed version.
if start_standin "$WORK/requests-installed"; then
  URL=https://localhost:$PORT
  export DOSTRA_VENDOR_URL=$URL
  run_case installed 'A versão mais recente (3.12.5) já está instalada' \
    "$OUT/e2e-win32-installed.png"
  stop_standin

  # The request as it went on the wire.
  body=$'{\r\n  "ID_UNIDADE_ESTACAO" : 0,\r\n  "ID_UNIDADE_DATABASE" : 0,\r\n  "OP_FIRST_SYNC" : 0,\r\n  "ID_MODULO" : 2\r\n}'
  expected=$WORK/expected-request.bin
  {
    printf 'POST /ws/infoVersion.php HTTP/1.0\r\n'
    printf 'Host: localhost:%s\r\n' "$PORT"
    printf 'Keep-Alive: 300\r\nConnection: keep-alive\r\nUser-Agent: DOSTRA_UPDATE\r\n'
    printf 'Content-Type: application/x-www-form-urlencoded\r\nContent-Length: 106\r\n\r\n'
    printf '%s' "$body"
  } >"$expected"
  recorded=$WORK/requests-installed/request-1.bin
  if [[ ! -f "$recorded" ]]; then
    fail "request: none recorded"
  elif ! cmp -s "$expected" "$recorded"; then
    fail "request: differs from the expected bytes"
    diff <(od -c "$expected") <(od -c "$recorded") >&2
  fi
  [[ ! -e $WORK/requests-installed/request-2.bin ]] || fail "request: sent more than once"

  # The same address with nothing listening any more.
  run_case refused "$WEB_ERROR"
fi

# The same CA, unknown to OpenSSL: only Windows' chain engine can vouch for the server.
if start_standin "$WORK/requests-unknown-issuer"; then
  export DOSTRA_VENDOR_URL=https://localhost:$PORT
  unset SSL_CERT_FILE
  run_case unknown-issuer "$WEB_ERROR"
  if compgen -G "$WORK/requests-unknown-issuer/request-*" >/dev/null; then
    fail "unknown-issuer: a request was sent to a server whose issuer no one knows"
  fi
  if trust_ca_in_windows; then
    run_case windows-root 'A versão mais recente (3.12.5) já está instalada'
    [[ -f $WORK/requests-unknown-issuer/request-1.bin ]] || fail "windows-root: no request"
  else
    fail "windows-root: cannot add the CA to the Windows root store"
  fi
  stop_standin
  export SSL_CERT_FILE="Z:${CA//\//\\}"
fi

# A server whose certificate no one trusts: the program hangs up before sending.
if start_standin "$WORK/requests-untrusted" --untrusted; then
  export DOSTRA_VENDOR_URL=https://localhost:$PORT
  run_case untrusted "$WEB_ERROR"
  stop_standin
  if compgen -G "$WORK/requests-untrusted/request-*" >/dev/null; then
    fail "untrusted: a request was sent to a server whose certificate no one trusts"
  fi
fi

if ((failures)); then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "the update check's outcomes and its request are as expected"
