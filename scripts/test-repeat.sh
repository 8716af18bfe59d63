#!/usr/bin/env bash
# Runs the GUI test programs (ctest label "gui") N times and reports every test that failed at
# least once, with how many times: flakiness is found before it lands.
#   test-repeat.sh N [ctest arguments, e.g. -R utility_tests]
# The build (./build, or VELBOR_BUILD_DIR) must be made first (scripts/test.sh). VELBOR_JOBS caps
# how many programs run at once. Exit status 0 when every run passed.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VELBOR_BUILD_DIR:-$root/build}
jobs=${VELBOR_JOBS:-$(nproc)}
runs=${1:?number of runs}
shift
if [ ! -f "$build/CTestTestfile.cmake" ]; then
  echo "test-repeat.sh: no build in $build (run scripts/test.sh first)" >&2
  exit 2
fi
"$root/scripts/printer-env.sh"
rm -f "$build"/test-repeat-run*.log
logs=$(mktemp -d)
declare -A failures
failed_runs=0
for ((run = 1; run <= runs; ++run)); do
  log="$logs/run$run.log"
  start=$(date +%s)
  (cd "$build" && ctest -L gui --output-on-failure --parallel "$jobs" "$@") >"$log" 2>&1
  status=$?
  echo "run $run: $(grep -E '^[0-9]+% tests passed' "$log" || echo "no summary"), $(($(date +%s) - start)) s"
  [ $status -eq 0 ] && continue
  failed_runs=$((failed_runs + 1))
  # The failed tests named in each failed program's output, once each per run; a program that
  # failed without naming a test (a crash, a hang, a fixture) counts under its own name.
  while IFS= read -r name; do
    [ -n "$name" ] && failures[$name]=$((${failures[$name]:-0} + 1))
  done < <(awk '
    /Test +#[0-9]+: / {
      match($0, /Test +#[0-9]+: [^ ]+/); split(substr($0, RSTART, RLENGTH), f, ": "); current = f[2]
      if ($0 ~ /\*\*\*|Failed|Timeout|Not Run/) failed[current] = 1
      next
    }
    /^\[  FAILED  \] [^ ]+ \([0-9]+ ms\)/ { named[current ": " $4] = 1; some[current] = 1 }
    END {
      for (n in named) print n
      for (p in failed) if (!(p in some)) print p " (the program)"
    }' "$log")
  cp "$log" "$build/test-repeat-run$run.log"
done
rm -rf "$logs"
# An empty table counts as unset for bash's -u.
set +u
if [ $failed_runs -eq 0 ]; then
  echo "test-repeat.sh: $runs runs, no test failed"
  exit 0
fi
echo "test-repeat.sh: $failed_runs of $runs runs failed (logs: $build/test-repeat-run*.log); failed at least once:"
for name in "${!failures[@]}"; do
  printf '  %-80s %d of %d runs\n' "$name" "${failures[$name]}" "$runs"
done | sort
exit 1
