#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it under Wine: on the user's display,
# or on a virtual display when there is none. The program is built in a folder of its own,
# optimised and without assertions (scripts/test.sh builds the tests with them, in build/).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VELBOR_RUN_BUILD_DIR:-$root/build-run}

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/WineToolchain.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELBOR_ASSERTIONS=OFF >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target velbor
"$root/scripts/wine-env.sh" prepare-run "$build/wine/run"
source "$root/scripts/wine-env.sh"
export WINEPREFIX="$build/wine/run"
"$root/scripts/with-display.sh" wine "$build/app/velbor.exe.so" "$@"
