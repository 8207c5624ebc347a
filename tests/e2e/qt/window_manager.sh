# Under a real window manager (openbox): the frame's outer top-left corner is at
# 200, 200, the caption bar shows the activated caption, and Alt+F4 closes the window
# through the window manager, a termination request that ends the updater with exit
# code 0. Writes a screenshot of the framed window to OUT_PNG. Skipped (77) when
# openbox is not installed.
# Usage: window_manager.sh EXE OUT_PNG
source "$(dirname "$0")/e2e_lib.sh"
exe=$1
out=$2

command -v openbox >/dev/null || { echo "SKIP: openbox is not installed"; exit 77; }
openbox --sm-disable >/dev/null 2>&1 &
wm_pid=$!
trap 'stop_updater; kill "$wm_pid" 2>/dev/null; wait "$wm_pid" 2>/dev/null' EXIT
for ((i = 0; i < 50; ++i)); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done
xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' || fail "openbox did not start"

start_updater "$exe"
wait_for_window
sleep 0.5  # the frame is drawn
extents=$(xprop -id "$window" _NET_FRAME_EXTENTS | sed -n 's/.*= *//p' | tr -d ' ')
IFS=, read -r left right top bottom <<<"$extents"
[[ -n "$top" ]] || fail "no frame extents"
info=$(xwininfo -id "$window")
x=$(geometry_value "$info" "Absolute upper-left X")
y=$(geometry_value "$info" "Absolute upper-left Y")
echo "client at $x,$y; frame extents left $left right $right top $top bottom $bottom"
((x - left == 200 && y - top == 200)) ||
  fail "frame at $((x - left)),$((y - top)), expected 200,200"
[[ "$(geometry_value "$info" Width)" == 373 ]] || fail "client area not 373 wide"

import -window root -crop 413x262+180+180 +repage "$out" || fail "no screenshot"
echo "screenshot: $out"

focus_window "$window"
xdotool key --clearmodifiers alt+F4
wait_for_exit 10
expect_exit_zero "Alt+F4 through the window manager"
