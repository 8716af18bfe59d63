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
# A test program's summary is the verdict: a program whose exit status got lost (windows destroyed
# while the process exits have done that) must not pass with failed or unfinished tests.
if grep -q '^\[==========\] Running' "$out"; then
  if grep -q '^\[  FAILED  \]' "$out" || ! grep -q '^\[  PASSED  \]' "$out"; then
    if [ $status -eq 0 ]; then
      echo "run-test: failed or unfinished tests, yet the program exited with status 0" >&2
      status=1
    fi
  fi
fi
rm -f "$out" "$err"
exit $status
