#!/usr/bin/env bash
# Installs the Debian 12 packages that building and testing Quarvel needs, when they are missing.
# Given package names, it installs those instead (bench/deps.sh does). As root it calls apt-get
# directly, otherwise through sudo.
set -euo pipefail

build_and_test=(
  build-essential cmake ninja-build pkg-config git
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-webengine-dev libqt6webenginecore6-bin libgl-dev libqt6svg6 libx11-dev
  libmpg123-dev libcurl4-openssl-dev libfftw3-dev
  mpg123
  lame time hyperfine xvfb xauth strace
  python3 man-db groff-base desktop-file-utils appstream
  dbus librsvg2-bin lintian
  clang libclang-rt-14-dev
  python3-pyftpdlib python3-openssl openssh-server openssh-client openssl libsecret-1-dev gnome-keyring
)
if [ $# -gt 0 ]; then packages=("$@"); else packages=("${build_and_test[@]}"); fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then as_root=(); else as_root=(sudo); fi
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
