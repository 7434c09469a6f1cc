#!/bin/sh
# Runs a test program on a private session bus of its own: ./under_session_bus.sh <program> [arguments]
# Exits 77 (skipped) when dbus-run-session is not installed.
set -eu
if ! command -v dbus-run-session >/dev/null 2>&1; then
    echo "skipped: dbus-run-session is not installed (package dbus)" >&2
    exit 77
fi
exec dbus-run-session -- "$@"
