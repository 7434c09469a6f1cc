#!/usr/bin/env bash
# Runs the tag reader's fuzz target alone: fuzz/run_id3_fuzz.sh [SECONDS] (default: 60).
# See fuzz/run_fuzzers.sh for the build, the corpus and where findings go.
set -euo pipefail
exec "$(dirname "$0")/run_fuzzers.sh" "${1:-60}" id3
