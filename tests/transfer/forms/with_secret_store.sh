#!/bin/sh
# Runs a test program in a D-Bus session of its own with an unlocked GNOME Keyring as the
# desktop's secret store, all in a temporary home that goes afterwards:
#   ./with_secret_store.sh <program> [arguments]
# Exit status 77 (skipped) when dbus or gnome-keyring is not installed.
set -eu
if ! command -v dbus-run-session >/dev/null || ! command -v gnome-keyring-daemon >/dev/null; then
  echo "gnome-keyring or dbus is not installed (scripts/deps.sh installs them): not run"
  exit 77
fi
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -m 700 "$home/run"
export HOME="$home" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/run" QUARVEL_SECRET_STORE=1
# The keyring daemon ends with the session's bus.
dbus-run-session -- sh -c 'printf test | gnome-keyring-daemon --unlock --components=secrets >/dev/null && "$@"' sh "$@"
