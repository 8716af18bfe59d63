#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VELBOR_BUILD_DIR:-$root/build}
# VELBOR_JOBS caps the build and test parallelism (several builds sharing one machine).
jobs=${VELBOR_JOBS:-$(nproc)}

"$root/scripts/install-deps.sh"
# The optimised build with its assertions kept (the program users run has them compiled out).
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/WineToolchain.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELBOR_ASSERTIONS=ON >/dev/null
cmake --build "$build" --parallel "$jobs"
"$root/scripts/printer-env.sh"
cd "$build"
"$root/scripts/with-display.sh" --own ctest --output-on-failure --parallel "$jobs" "$@"
