# Steps both Windows rigs share: report failures, set up the prefix, start the program
# as a shortcut would, find its window after the first activation, take screenshots,
# and wait for it to end, never for longer than the limits. The rig sets ARCH, WINE,
# OUT, TEMPLATE and STEP before using them.
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
note() { echo "--- $*"; }

# A work folder of the rig's own under OUT, with the prefix and the application folder
# (non-ASCII, as users' folders are) in it: sets WORK, WINEPREFIX and APP_DIR.
use_work_folder() {
  mkdir -p "$OUT"
  WORK=$(mktemp -d "$OUT/$1.XXXXXX")
  export WINEPREFIX=$WORK/prefix WINEARCH=$ARCH WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  # Wine maps Windows file names to Unix ones through the locale's character set, and
  # the tests use non-ASCII names: a caller without a UTF-8 locale would break them.
  export LC_ALL=C.UTF-8
  APP_DIR="$WORK/Aplicação Dostra"
}

# The prefix: a copy of the pristine TEMPLATE where there is one, else a new one.
prepare_prefix() {
  if [[ -n "$TEMPLATE" && -f "$TEMPLATE/system.reg" ]]; then
    cp -a "$TEMPLATE" "$WINEPREFIX"
  else
    timeout "$STEP" "$WINE" wineboot -i >/dev/null 2>&1 || fail "wineboot -i"
  fi
  # No window manager here: Wine draws the caption and the close box itself.
  timeout "$STEP" "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f \
    >/dev/null 2>&1 || fail "wine reg add Decorated"
}

APP_PID=
start_app() {
  # Started from another working directory, as a shortcut would.
  (cd / && exec timeout "$STEP" "$WINE" "$APP_DIR/DOSTRA_UPDATE.exe") &
  APP_PID=$!
}

# Sets WID to the window once its first activation has changed the caption.
WID=
wait_for_window() {
  WID=
  local deadline=$((SECONDS + STEP))
  while ((SECONDS < deadline)); do
    WID=$(xdotool search --name '^Dostra - Atualiza' 2>/dev/null | head -n1)
    [[ -n "$WID" ]] && return 0
    kill -0 "$APP_PID" 2>/dev/null || return 1
    sleep 1
  done
  return 1
}

# Ends a program whose window never appeared.
kill_app() {
  kill "$APP_PID" 2>/dev/null
  wait "$APP_PID" 2>/dev/null
  APP_PID=
}

# The inspector's report of the live window ($1) with the plain names of the common-
# controls classes: Wine may report their versioned names.
plain_class_names() { sed -E 's/^control\|[^|]*!/control|/' <<<"$1"; }

# Screenshot of the whole virtual screen to $2, and of the window alone to $3, from the
# rectangle on the first line of the inspector's report ($1).
screenshot_window() {
  local live=$1 screen=$2 shot=$3 x y w h
  import -window root "$screen" || { fail "screenshot"; return; }
  IFS=, read -r x y w h < <(head -n1 <<<"$live" | awk -F'|' '{print $6}')
  convert "$screen" -crop "${w}x${h}+${x}+${y}" +repage "$shot" || fail "cropping the screenshot"
}

# Waits for the program to end; returns its exit code (124 when it had to be killed).
wait_for_exit() {
  local deadline=$((SECONDS + 120)) code
  while kill -0 "$APP_PID" 2>/dev/null && ((SECONDS < deadline)); do sleep 1; done
  if kill -0 "$APP_PID" 2>/dev/null; then
    kill "$APP_PID" 2>/dev/null
    wait "$APP_PID" 2>/dev/null
    APP_PID=
    return 124
  fi
  wait "$APP_PID"
  code=$?
  APP_PID=
  return $code
}
