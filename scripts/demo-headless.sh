#!/usr/bin/env bash
# Inside xvfb-run: runs the updater under a small window manager, waits for the update
# check to show its outcome, takes a screenshot, then presses Esc and reports the exit code.
# Usage: demo-headless.sh EXE SCREENSHOT
set -euo pipefail
exe=$1 shot=$2
wm_pid=""
if command -v openbox >/dev/null; then openbox >/dev/null 2>&1 & wm_pid=$!; sleep 0.5; fi

QT_QPA_PLATFORM=xcb "$exe" &
pid=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --pid "$pid" --name '^Dostra - Atualiza' | head -n 1) || true
if [[ -z "$window" ]]; then
  echo "the updater's window did not appear" >&2
  kill "$pid" 2>/dev/null || true
  exit 1
fi
sleep 1.5  # the check's outcome is painted once the activation handler returns
import -window root "$shot"
xdotool windowfocus --sync "$window" key Escape
code=0
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then kill -KILL "$pid"; echo "the updater did not end on Esc" >&2; code=1; fi
wait "$pid" && echo "DOSTRA_UPDATE ended with exit code 0 (Esc)" || { c=$?; echo "DOSTRA_UPDATE ended with exit code $c"; code=1; }
[[ -n "$wm_pid" ]] && kill "$wm_pid" 2>/dev/null || true
exit $code
