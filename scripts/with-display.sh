#!/usr/bin/env bash
# Runs a command with an X display: the one in DISPLAY, or an Xvfb display started for it.
set -euo pipefail
if [ -n "${DISPLAY:-}" ]; then
  exec "$@"
fi
fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 4 -screen 0 1280x1024x24 -nolisten tcp 4>"$fifo" >/dev/null 2>&1 &
xvfb=$!
read -r number <"$fifo"
rm -f "$fifo"
trap 'kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY=":$number"
"$@"
