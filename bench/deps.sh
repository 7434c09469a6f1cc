#!/usr/bin/env bash
# The peers that only the benchmarks compare against (never the tests): installed when missing.
set -euo pipefail
exec "$(dirname "$0")/../scripts/deps.sh" mediainfo ffmpeg coreutils mpg123 lame python3
