#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer
# (CMake option QUARVEL_FUZZ, build folder build-fuzz/) and runs each for SECONDS (default 30).
#
#   fuzz/run_fuzzers.sh [SECONDS] [TARGET...]      targets: joiner id3 mpeg playlist (default all)
#   FUZZ_JOBS=2 fuzz/run_fuzzers.sh 600            two targets at a time
#
# Each target starts from fuzz/corpus/<target> and fuzz/regressions/<target>; what it learns
# grows in build-fuzz/corpus/<target>. An input that crashes, leaks, runs out of memory, times
# out or fails a check of the target is copied into fuzz/regressions/<target>/ and the script
# exits non-zero. Logs: build-fuzz/logs/<target>.log.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
[ $# -gt 0 ] && shift
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(joiner id3 mpeg playlist)
jobs=${FUZZ_JOBS:-1}
build=build-fuzz

cmake -S . -B "$build" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" \
  -DQUARVEL_ENGINE_ONLY=ON -DQUARVEL_FUZZ=ON -DQUARVEL_BUILD_BENCH=OFF -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target "${targets[@]/#/fuzz_}"

# Runs one target; returns non-zero when it found something.
run_target() {
  local target=$1
  local corpus=$build/corpus/$target artifacts=$build/artifacts/$target scratch=$PWD/$build/tmp/$target
  # The targets write and sync small files at every run: a memory file system spares the disk.
  [ -d /dev/shm ] && [ -w /dev/shm ] && scratch=/dev/shm/quarvel-fuzz-$target.$$
  local log=$build/logs/$target.log regressions=fuzz/regressions/$target
  rm -rf "$artifacts" "$scratch"
  mkdir -p "$corpus" "$artifacts" "$scratch" "$build/logs" "$regressions"
  local status=0
  # The targets' scratch folders go below $scratch, which goes also when a finding ends a run early.
  TMPDIR=$scratch ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$artifacts/" \
    "$corpus" "fuzz/corpus/$target" "$regressions" >"$log" 2>&1 || status=$?
  rm -rf "$scratch"
  local runs
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1 || true)
  local found=()
  for input in "$artifacts"/crash-* "$artifacts"/leak-* "$artifacts"/oom-* "$artifacts"/timeout-*; do
    [ -e "$input" ] || continue
    cp "$input" "$regressions/"
    found+=("$regressions/$(basename "$input")")
  done
  if [ "$status" -ne 0 ] || [ ${#found[@]} -gt 0 ]; then
    echo "fuzz $target: FINDING after $runs executions (exit $status): ${found[*]:-no input kept}; see $log"
    return 1
  fi
  echo "fuzz $target: $runs executions in ${seconds}s, no finding"
}

failed=0
pids=()
for target in "${targets[@]}"; do
  run_target "$target" &
  pids+=($!)
  if [ ${#pids[@]} -ge "$jobs" ]; then
    wait "${pids[0]}" || failed=1
    pids=("${pids[@]:1}")
  fi
done
for pid in "${pids[@]}"; do wait "$pid" || failed=1; done
exit $failed
