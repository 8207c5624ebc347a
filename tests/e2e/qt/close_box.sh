# The close box (or Alt+F4): the window manager sends WM_DELETE_WINDOW; the updater
# takes it as a termination request and ends with exit code 0. No window manager runs
# here, so x11_close_window sends the message as one would.
# Usage: close_box.sh EXE X11_CLOSE_WINDOW
source "$(dirname "$0")/e2e_lib.sh"
exe=$1
close_window=$2

start_updater "$exe"
wait_for_window
"$close_window" "$window" || fail "could not send WM_DELETE_WINDOW to $window"
wait_for_exit 10
expect_exit_zero "WM_DELETE_WINDOW"
