#!/usr/bin/env bash
# Installs what is missing, builds Quarvel (Release) and makes a Debian package of it in build/:
# quarvel_<version>_<arch>.deb with both programs, the help pages, the desktop entry and the icon.
# Install it with: sudo apt install ./build/quarvel_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$(nproc)"
(cd build && cpack -G DEB)
ls -l build/quarvel_*.deb
