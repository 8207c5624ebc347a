# Shared steps of the whole-program tests: start the updater on the X server of
# xvfb-run, find its window, drive it with xdotool, and wait for it to end, never for
# longer than a few seconds.
set -u

export QT_QPA_PLATFORM=xcb
# The window's caption once its first activation has run (phase B on).
ACTIVE_CAPTION='^Dostra - Atualiza'

updater_pid=""

fail() {
  echo "FAIL: $*" >&2
  stop_updater
  exit 1
}

# start_updater EXE [WORKING_DIRECTORY]
start_updater() {
  local exe=$1 cwd=${2:-$PWD}
  (cd "$cwd" && exec "$exe") &
  updater_pid=$!
}

# Ends the updater if it is still running; the tests never leave it behind.
stop_updater() {
  if [[ -n "$updater_pid" ]] && kill -0 "$updater_pid" 2>/dev/null; then
    kill -KILL "$updater_pid" 2>/dev/null
    wait "$updater_pid" 2>/dev/null
  fi
  updater_pid=""
}
trap stop_updater EXIT

# Sets `window` to the id of the updater's window once its first activation has run.
# A number from xwininfo's report ($1) by its label ($2), e.g. "Width".
geometry_value() { sed -n "s/^ *$2: *\([0-9-]*\).*/\1/p" <<<"$1"; }

wait_for_window() {
  window=$(timeout 20 xdotool search --sync --all --onlyvisible --pid "$updater_pid" \
             --name "$ACTIVE_CAPTION" 2>/dev/null | head -n 1)
  [[ -n "$window" ]] || fail "no activated window of process $updater_pid within 20 s"
}

# Waits for the updater to end and sets `exit_code`; kills it after SECONDS and fails.
wait_for_exit() {
  local seconds=${1:-10} i
  for ((i = 0; i < seconds * 10; ++i)); do
    kill -0 "$updater_pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$updater_pid" 2>/dev/null; then
    fail "process $updater_pid still running after $seconds s"
  fi
  exit_code=0
  wait "$updater_pid" || exit_code=$?
  updater_pid=""
}

# expect_exit_zero WHAT: after wait_for_exit.
expect_exit_zero() {
  [[ "$exit_code" == 0 ]] || fail "$1: exit code $exit_code, expected 0"
  echo "ok: $1 ended the updater with exit code 0"
}

# Gives the window the keyboard focus, as a click on it would.
focus_window() {
  xdotool windowfocus --sync "$1" || fail "cannot focus window $1"
}
