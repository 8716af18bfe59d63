#!/usr/bin/env bash
# Runs one GUI test program in a Wine prefix and on an X display of its own, so that GUI test
# programs run side by side without seeing each other's windows, focus, clipboard or settings:
#   run-gui-test.sh TEMPLATE PREFIX program [arguments]
# PREFIX is made afresh as a copy of the prepared TEMPLATE (scripts/wine-env.sh prepare-template);
# its wine server and its display (Xvfb: the screen the tests are written for, 1280 x 1024, 24 bits,
# 96 dots per inch) are stopped when the program ends, however it ends. Meanwhile the display's
# process number is kept in PREFIX.display, for `wine-env.sh stop` after an interrupted run.
set -uo pipefail
scripts=$(cd "$(dirname "$0")" && pwd)
template=${1:?template} prefix=${2:?prefix}
shift 2
"$scripts/wine-env.sh" clone "$template" "$prefix" || exit 1
export WINEPREFIX=$prefix

fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 4 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp 4>"$fifo" >/dev/null 2>&1 &
xvfb=$!
echo "$xvfb" >"$prefix.display"
cleanup() {
  # The server first: its programs must not outlive it on a display that goes.
  "$scripts/wine-env.sh" stop "$prefix"
  kill "$xvfb" 2>/dev/null
  wait "$xvfb" 2>/dev/null
  rm -f "$prefix.display"
}
trap cleanup EXIT
trap 'exit 143' TERM INT HUP
number=
read -r number <"$fifo"
rm -f "$fifo"
if [ -z "$number" ]; then
  echo "run-gui-test.sh: the display did not start" >&2
  exit 1
fi
export DISPLAY=":$number"
"$scripts/run-test.sh" "$@"
