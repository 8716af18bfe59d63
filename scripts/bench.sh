#!/usr/bin/env bash
# Builds the benchmarks as users get the program (optimised, no assertions: the build of
# scripts/run.sh) and runs them, each printing its ratios:
#   db_bench and memtable_bench   native, Google Benchmark, repetitions interleaved at random
#   exchange_bench, app_bench     under Wine with a warm wine server, on a virtual display
#   bench.sh [names...]            (all by default: db memtable exchange app)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VELBOR_RUN_BUILD_DIR:-$root/build-run}
native=${VELBOR_NATIVE_BUILD_DIR:-$root/build-native}
jobs=${VELBOR_JOBS:-$(nproc)}
benches=${*:-db memtable exchange app}

"$root/scripts/install-deps.sh"
for bench in $benches; do
  case "$bench" in
    db|memtable)
      cmake -S "$root" -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELBOR_ASSERTIONS=OFF >/dev/null
      cmake --build "$native" --parallel "$jobs" --target "${bench}_bench"
      echo "== ${bench}_bench"
      "$native/$bench/${bench}_bench" --benchmark_color=false
      ;;
    exchange|app)
      cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/WineToolchain.cmake" \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELBOR_ASSERTIONS=OFF >/dev/null
      cmake --build "$build" --parallel "$jobs" --target "${bench}_bench"
      prefix=$build/wine/bench
      "$root/scripts/wine-env.sh" prepare-run "$prefix"
      program=$build/$bench/bench/${bench}_bench.exe
      [ "$bench" = exchange ] && program=$build/exchange/exchange_bench/exchange_bench.exe
      echo "== ${bench}_bench"
      "$root/scripts/with-display.sh" --own bash -c '
        source "$1/scripts/wine-env.sh"
        export WINEPREFIX=$2
        wineserver -p
        status=0
        wine "$3.so" || status=$?
        wineserver -k
        exit $status' bench "$root" "$prefix" "$program"
      ;;
    *)
      echo "bench.sh: unknown benchmark $bench (db, memtable, exchange, app)" >&2
      exit 2
      ;;
  esac
done
