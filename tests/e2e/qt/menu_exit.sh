# The menu "&Arquivo", item "Sai&r" (Alt+A, then R) ends the updater with exit code 0.
# Usage: menu_exit.sh EXE
source "$(dirname "$0")/e2e_lib.sh"
exe=$1

start_updater "$exe"
wait_for_window
focus_window "$window"
xdotool key --clearmodifiers alt+a
# The open menu is a second window of the process.
for ((i = 0; i < 100; ++i)); do
  (($(xdotool search --all --onlyvisible --pid "$updater_pid" 2>/dev/null | wc -l) >= 2)) && break
  sleep 0.1
done
(($(xdotool search --all --onlyvisible --pid "$updater_pid" 2>/dev/null | wc -l) >= 2)) ||
  fail "Alt+A opened no menu within 10 s"
xdotool key --clearmodifiers r
wait_for_exit 10
expect_exit_zero "Alt+A, R"
