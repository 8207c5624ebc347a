#!/usr/bin/env bash
# The updater's main job on this machine: a Dostra folder with an installed Velmira.exe
# of version 3.12.5, the vendor's version service played by our stand-in over HTTPS,
# and the Linux program checking for an update against it.
#
# Usage: scripts/demo.sh [installed|service-error|web-error]   (default: installed)
#   installed      the service reports 03012005: "A versão mais recente (3.12.5) já está instalada"
#   service-error  the service refuses with a two-line text
#   web-error      nothing answers: "Erro ao acessar web. Tente novamente mais tarde"
# With a display the window stays until you close it (Esc, Fechar, Arquivo > Sair or the
# close box). Without one it runs in a virtual X server and writes a screenshot.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
scenario=${1:-installed}

bash scripts/install-deps.sh --if-missing

cmake --preset linux-release >/dev/null
cmake --build --preset linux-release --target DOSTRA_UPDATE vendor_standin make_versioned_exe
bin=$root/build/linux-release

demo=$root/build/demo
rm -rf "$demo"
mkdir -p "$demo/Dostra" "$demo/requests"
# The updater names every file after its own folder, so it runs from inside the Dostra folder.
cp "$bin/src/app/DOSTRA_UPDATE" "$demo/Dostra/"
"$bin/tools/make_versioned_exe/make_versioned_exe" "$demo/Dostra/Velmira.exe" 3.12.5.0

case "$scenario" in
  installed) reply='[[{"ID_ERRO":0,"DS_ERRO":"","VERSAO_ATUAL":"03012005"}]]' ;;
  service-error) reply='[[{"ID_ERRO":3,"DS_ERRO":"Licença suspensa.\\nProcure o suporte da Dostra.","VERSAO_ATUAL":""}]]' ;;
  web-error) reply='' ;;
  *) echo "unknown scenario '$scenario' (installed, service-error, web-error)" >&2; exit 2 ;;
esac
printf '%s' "$reply" >"$demo/reply.json"

standin_pid=""
cleanup() {
  if [[ -n "$standin_pid" ]]; then kill "$standin_pid" 2>/dev/null || true; wait "$standin_pid" 2>/dev/null || true; fi
}
trap cleanup EXIT

if [[ "$scenario" == web-error ]]; then
  # A port on which nothing listens.
  export DOSTRA_VENDOR_URL=https://localhost:1
else
  "$bin/tools/vendor_standin/vendor_standin" --ca-out "$demo/ca.pem" --reply-file "$demo/reply.json" \
    --record-dir "$demo/requests" --port-file "$demo/port" >"$demo/standin.log" 2>&1 &
  standin_pid=$!
  for _ in $(seq 100); do [[ -s "$demo/port" ]] && break; sleep 0.1; done
  [[ -s "$demo/port" ]] || { echo "the vendor stand-in did not start:" >&2; cat "$demo/standin.log" >&2; exit 1; }
  export DOSTRA_VENDOR_URL="https://localhost:$(cat "$demo/port")"
  # Trust the stand-in's test CA, and nothing else changes: the certificate is verified.
  export SSL_CERT_FILE=$demo/ca.pem
fi
echo "vendor: $DOSTRA_VENDOR_URL   Dostra folder: $demo/Dostra"

if [[ -n "${DISPLAY:-}" ]]; then
  "$demo/Dostra/DOSTRA_UPDATE"
  echo "DOSTRA_UPDATE ended with exit code $?"
else
  shot=$demo/screenshot-$scenario.png
  xvfb-run -a -s "-screen 0 800x500x24" bash "$root/scripts/demo-headless.sh" "$demo/Dostra/DOSTRA_UPDATE" "$shot"
  echo "screenshot: $shot"
fi
if compgen -G "$demo/requests/request-*.bin" >/dev/null; then
  echo "the request the updater sent is in $demo/requests/"
fi
