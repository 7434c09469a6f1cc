#!/usr/bin/env bash
# Installs what is missing, builds Quarvel and starts the desktop program (arguments go to it).
# Without the desktop program (an engine-only build), it shows the usage of quarvel-cli.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$(nproc)"
if [ -x build/app/quarvel ]; then
  exec build/app/quarvel "$@"
fi
exec build/cli/quarvel-cli "${@:---help}"
