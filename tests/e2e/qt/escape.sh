# Esc ends the updater at once with exit code 0, with and without a modifier.
# Usage: escape.sh EXE
source "$(dirname "$0")/e2e_lib.sh"
exe=$1

for keys in Escape shift+Escape ctrl+Escape; do
  start_updater "$exe"
  wait_for_window
  focus_window "$window"
  xdotool key --clearmodifiers "$keys"
  wait_for_exit 10
  expect_exit_zero "$keys"
done
