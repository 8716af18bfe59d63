#!/usr/bin/env bash
# Runs a command with an X display: the one in DISPLAY, or an Xvfb display started for it.
#   with-display.sh [--own] command...
# With --own, always a display of its own: the screen the tests are written for (1280 x 1024,
# 24 bits, 96 dots per inch), whatever display the user has, and nobody's pointer on it.
set -euo pipefail
own=false
if [ "${1:-}" = --own ]; then
  own=true
  shift
fi
if [ -n "${DISPLAY:-}" ] && ! $own; then
  exec "$@"
fi
fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 4 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp 4>"$fifo" >/dev/null 2>&1 &
xvfb=$!
read -r number <"$fifo"
rm -f "$fifo"
trap 'kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY=":$number"
"$@"
