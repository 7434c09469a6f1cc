#!/bin/sh
# Builds the Debian package from a built tree with CPack into a temporary folder and runs lintian
# on it: fails on any error (E:), lists the warnings. Exits 77 (skipped) without lintian.
# Usage: ./check_deb_lintian.sh <build folder>
set -eu
if ! command -v lintian >/dev/null 2>&1; then
    echo "skipped: lintian is not installed" >&2
    exit 77
fi
build=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT INT TERM
(cd "$build" && cpack -G DEB -B "$out" >"$out/cpack.log" 2>&1) || { cat "$out/cpack.log" >&2; exit 1; }
deb=$(ls "$out"/quarvel_*.deb)
# The tags are judged here; lintian's exit status only tells whether it ran at all.
status=0
lintian --tag-display-limit 0 "$deb" >"$out/tags" 2>"$out/lintian.err" || status=$?
if grep '^W: ' "$out/tags" >/dev/null; then
    echo "lintian warnings:"
    grep '^W: ' "$out/tags"
fi
if grep '^E: ' "$out/tags" >/dev/null; then
    echo "lintian errors:" >&2
    grep '^E: ' "$out/tags" >&2
    exit 1
fi
if [ "$status" -ne 0 ]; then
    echo "lintian failed (status $status):" >&2
    cat "$out/lintian.err" >&2
    exit 1
fi
echo "lintian: no errors in $(basename "$deb")"
