#!/usr/bin/env bash
# Starts quarvel on a virtual X display (Xvfb) with a fresh settings folder and saves a
# screenshot of its main window. Usage: scripts/screenshot.sh [BUILD_DIR] [OUTPUT.png]
# Arguments after the output file are passed to quarvel.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
output=${2:-$build/quarvel-main-window.png}
shift $(( $# > 2 ? 2 : $# ))
cmake --build "$build" --target quarvel quarvel-screen-grab >/dev/null

display=:$(( 90 + RANDOM % 100 ))
settings=$(mktemp -d)
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
cleanup() {
  [ -n "${quarvel:-}" ] && kill "$quarvel" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$settings"
}
trap cleanup EXIT
sleep 1

DISPLAY=$display XDG_CONFIG_HOME=$settings QTWEBENGINE_DISABLE_SANDBOX=1 "$build/app/quarvel" "$@" &
quarvel=$!
sleep "${QUARVEL_SCREENSHOT_DELAY:-4}"
kill -0 "$quarvel"  # still running: it started and shows its window
DISPLAY=$display "$build/tests/app/quarvel-screen-grab" "$output"
echo "$output"
