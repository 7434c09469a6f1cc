#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the Release build with all
# tests, then the engines and their tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer, a short fuzzing run of every file reader, and the playback
# component's tests under ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/deps.sh
# Every include points down the layers; the engines include no Qt header.
./scripts/check_layers.sh
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
export QTWEBENGINE_DISABLE_SANDBOX=1

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DQUARVEL_ENGINE_ONLY=ON -DQUARVEL_SANITIZE=ON -DQUARVEL_BUILD_BENCH=OFF
cmake --build build-sanitize -j "$jobs"
# The multi-gigabyte cases ran above; under the sanitizers they would only repeat slowly. The
# fault sweep (label faults) preloads its fault-injection library into quarvel-cli, and a
# sanitised program refuses to start unless the AddressSanitizer runtime is its first library.
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-sanitize --output-on-failure -j "$jobs" -LE "large|faults"

# Every reader of outside bytes for 30 seconds under libFuzzer (with ASan and UBSan); an input
# that breaks one is kept in fuzz/regressions/ and fails the run.
FUZZ_JOBS=$jobs fuzz/run_fuzzers.sh 30

# The playback component's commands and notifications cross threads, and the write-behind of split
# and join writes on a thread of its own: their tests (label threads) run again under
# ThreadSanitizer, where a data race fails the run.
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DQUARVEL_ENGINE_ONLY=ON -DQUARVEL_SANITIZE_THREAD=ON -DQUARVEL_BUILD_BENCH=OFF
cmake --build build-tsan -j "$jobs" --target xaudio_tests quarvel_write_behind_tests
TSAN_OPTIONS=halt_on_error=1 ctest --test-dir build-tsan --output-on-failure -j "$jobs" -L threads
