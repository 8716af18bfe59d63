#!/usr/bin/env bash
# Builds the benchmarks as users get the program (optimised, no assertions: the build of
# scripts/run.sh) and runs them, each printing its ratios:
#   db_bench and memtable_bench   native, Google Benchmark, repetitions interleaved at random
#   exchange_bench, app_bench     under Wine with a warm wine server, on a virtual display
#   start                          app_bench --start: only the program's start against an empty
#                                  window (VELBOR_BENCH_ROUNDS rounds, 7 by default), and the other
#                                  builds of the program listed in VELBOR_BENCH_OTHERS (host paths)
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
    exchange|app|start)
      cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/WineToolchain.cmake" \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELBOR_ASSERTIONS=OFF >/dev/null
      target=${bench/start/app}_bench
      cmake --build "$build" --parallel "$jobs" --target "$target"
      prefix=$build/wine/bench
      "$root/scripts/wine-env.sh" prepare-run "$prefix"
      program=$build/app/bench/app_bench.exe
      [ "$bench" = exchange ] && program=$build/exchange/exchange_bench/exchange_bench.exe
      args=()
      [ "$bench" = start ] && args=(--start "${VELBOR_BENCH_ROUNDS:-7}" ${VELBOR_BENCH_OTHERS:-})
      echo "== $target ${args[*]} (load before: $(cut -d' ' -f1-3 /proc/loadavg))"
      "$root/scripts/with-display.sh" --own bash -c '
        source "$1/scripts/wine-env.sh"
        export WINEPREFIX=$2
        wineserver -p
        status=0
        wine "$3.so" "${@:4}" || status=$?
        wineserver -k
        exit $status' bench "$root" "$prefix" "$program" "${args[@]}"
      echo "   (load after: $(cut -d' ' -f1-3 /proc/loadavg))"
      ;;
    *)
      echo "bench.sh: unknown benchmark $bench (db, memtable, exchange, app, start)" >&2
      exit 2
      ;;
  esac
done
