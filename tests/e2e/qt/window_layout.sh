# The window as a person sees it after its first activation: outer top-left corner at
# 200, 200 (no window manager, so no frame), 373 pixels wide, the client area of 182
# pixels below a one-line menu bar. Writes a screenshot of the screen to OUT_PNG.
# Usage: window_layout.sh EXE OUT_PNG
source "$(dirname "$0")/e2e_lib.sh"
exe=$1
out=$2

start_updater "$exe"
wait_for_window
sleep 0.5  # let it paint
info=$(xwininfo -id "$window")
x=$(geometry_value "$info" "Absolute upper-left X")
y=$(geometry_value "$info" "Absolute upper-left Y")
width=$(geometry_value "$info" "Width")
height=$(geometry_value "$info" "Height")
echo "window $window at $x,$y size ${width}x$height"
[[ "$x" == 200 && "$y" == 200 ]] || fail "window at $x,$y, expected 200,200"
[[ "$width" == 373 ]] || fail "window $width wide, expected 373"
((height > 182 + 10 && height < 182 + 40)) || fail "window $height high: not 182 plus one menu line"

import -window root -crop 573x402+100+100 +repage "$out" || fail "no screenshot"
[[ -s "$out" ]] || fail "empty screenshot"
echo "screenshot: $out"

focus_window "$window"
xdotool key --clearmodifiers Escape
wait_for_exit 10
expect_exit_zero "Escape after the screenshot"
