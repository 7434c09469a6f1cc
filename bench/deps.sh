#!/usr/bin/env bash
# The peers that only the benchmarks compare against (never the tests): installed when missing.
set -euo pipefail
packages=(mediainfo ffmpeg coreutils mpg123 lame python3)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing missing benchmark packages: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then as_root=(); else as_root=(sudo); fi
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
