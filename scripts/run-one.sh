#!/usr/bin/env bash
# Runs one test program on its own, as the test run does a GUI test program: in a fresh copy of
# the tests' Wine prefix, on a display of its own, its wine server and display stopped afterwards.
#   run-one.sh PROGRAM [arguments, e.g. --gtest_filter='ComboEdits.*']
# PROGRAM is a path, or the name of a test program of the build (utility_tests). The build folder
# is ./build, or VELBOR_BUILD_DIR.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VELBOR_BUILD_DIR:-$root/build}
program=${1:?program}
shift
if [ ! -f "$program" ]; then
  found=$(find "$build" -name "$program.exe" -type f -print -quit 2>/dev/null)
  if [ -z "$found" ]; then
    echo "run-one.sh: no test program $program in $build (build it first: scripts/test.sh)" >&2
    exit 2
  fi
  program=$found
fi
if [ ! -f "$program.so" ]; then
  # A native program needs neither Wine nor a display.
  exec "$program" "$@"
fi
"$root/scripts/printer-env.sh"
"$root/scripts/wine-env.sh" prepare-template "$build/wine/template"
exec "$root/scripts/run-gui-test.sh" "$build/wine/template" "$build/wine/gui/$(basename "$program" .exe)" "$program" "$@"
