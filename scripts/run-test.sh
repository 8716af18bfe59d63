#!/usr/bin/env bash
# Runs one test program: under Wine for a winelib module (x.exe, built beside x.exe.so),
# directly for a native one.
set -uo pipefail
program=$1
shift
if [ ! -f "$program.so" ]; then
  exec "$program" "$@"
fi
source "$(dirname "$0")/wine-env.sh"
# Wine starts its system processes (services, the desktop) from the first program that needs
# them, and they inherit that program's output. They live as long as the persistent server, so
# they must not hold ctest's pipes: the program writes to files, shown when it ends.
out=$(mktemp)
err=$(mktemp)
wine "$program.so" "$@" >"$out" 2>"$err"
status=$?
cat "$out"
cat "$err" >&2
rm -f "$out" "$err"
exit $status
