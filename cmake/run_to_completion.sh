#!/usr/bin/env bash
# Runs a GoogleTest program and fails it when it ended before its tests had. The
# updater's ways out end the process at once with exit code 0; a test that reached one
# by mistake, or a program whose later tests never ran, would otherwise count as passed.
# GoogleTest creates the file named by TEST_PREMATURE_EXIT_FILE when it starts and
# removes it once every test has run.
#
#   run_to_completion.sh [--windows] PROGRAM [ARGS...]
#
# --windows: PROGRAM runs under Wine, which reaches the file through drive Z:.
set -u
windows=0
if [[ "${1:-}" == --windows ]]; then
  windows=1
  shift
fi
marker_dir=$(mktemp -d)
trap 'rm -rf "$marker_dir"' EXIT
marker=$marker_dir/running
if ((windows)); then
  export TEST_PREMATURE_EXIT_FILE="Z:${marker//\//\\}"
else
  export TEST_PREMATURE_EXIT_FILE=$marker
fi
"$@"
status=$?
if [[ -e "$marker" ]]; then
  echo "FAILED: the test program ended before its tests had (exit code $status)" >&2
  ((status != 0)) && exit "$status"
  exit 1
fi
exit "$status"
