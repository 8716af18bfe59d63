#!/usr/bin/env bash
# Builds the native configuration with AddressSanitizer and UndefinedBehaviorSanitizer and runs its
# tests (core, db, memtable, the report script interpreter, the exchange operations), with each
# compiler of VELBOR_SANITIZE_COMPILERS (default "g++ clang++": the two initialise static data in
# different orders). Any sanitizer report fails the test that caused it. Extra arguments go to ctest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=${VELBOR_JOBS:-$(nproc)}
compilers=${VELBOR_SANITIZE_COMPILERS:-g++ clang++}

"$root/scripts/install-deps.sh"
export ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
for compiler in $compilers; do
  name=$(basename "$compiler")
  [ "$name" = g++ ] && name=gcc
  build=$root/build-sanitize-${name%++}
  echo "== sanitizers with $compiler ($build)"
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER="$compiler" -DVELBOR_SANITIZE=ON >/dev/null
  cmake --build "$build" --parallel "$jobs"
  (cd "$build" && ctest --output-on-failure --parallel "$jobs" "$@")
done
