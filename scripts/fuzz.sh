#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer) and
# runs each for the given number of seconds (default 60), starting from its seeds in
# fuzz/seeds/<target>/ and from what earlier runs kept in build-fuzz/corpus/<target>/. A finding
# stops the script; its input is left in build-fuzz/findings/. VELBOR_FUZZ_TARGETS names a subset.
set -euo pipefail
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VELBOR_FUZZ_DIR:-$root/build-fuzz}
jobs=${VELBOR_JOBS:-$(nproc)}
targets=${VELBOR_FUZZ_TARGETS:-form_text ini_files memtable_filter memtable_load jet_dialect report_expression report_script exchange_import}

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DVELBOR_FUZZ=ON >/dev/null
programs=()
for target in $targets; do programs+=("fuzz_$target"); done
cmake --build "$build" --parallel "$jobs" --target "${programs[@]}"

export ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
mkdir -p "$build/findings"
for target in $targets; do
  corpus=$build/corpus/$target
  mkdir -p "$corpus"
  options=(-max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -max_len=40000 -print_final_stats=1
           -artifact_prefix="$build/findings/$target-")
  dict=$root/fuzz/dicts/$target.dict
  [ -f "$dict" ] && options+=(-dict="$dict")
  echo "== $target: ${seconds} s"
  "$build/fuzz/fuzz_$target" "${options[@]}" "$corpus" "$root/fuzz/seeds/$target"
done
