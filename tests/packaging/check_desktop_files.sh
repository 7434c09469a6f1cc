#!/usr/bin/env bash
# Validates the desktop entry (desktop-file-validate) and the AppStream metainfo (appstreamcli,
# without the network). Hints and pedantic notes pass; warnings and errors fail. Exit status 77
# (skipped) when neither validator is installed (scripts/deps.sh installs desktop-file-utils and
# appstream).
set -uo pipefail
desktop=$1 metainfo=$2
checked=0 status=0
if command -v desktop-file-validate >/dev/null; then
  checked=1
  output=$(desktop-file-validate "$desktop" 2>&1)
  code=$?
  if [[ $code -ne 0 ]] || grep -qE ': (error|warning): ' <<<"$output"; then
    printf '%s\n' "$output"
    status=1
  else
    echo "$desktop: valid"
  fi
else
  echo "desktop-file-validate is not installed: desktop entry not checked"
fi
if command -v appstreamcli >/dev/null; then
  checked=1
  output=$(appstreamcli validate --no-net "$metainfo" 2>&1)
  code=$?
  if [[ $code -ne 0 ]] || grep -qE '^[EW]: ' <<<"$output"; then
    printf '%s\n' "$output"
    status=1
  else
    echo "$metainfo: valid"
  fi
else
  echo "appstreamcli is not installed: metainfo not checked"
fi
[[ $checked -eq 1 ]] || exit 77
exit $status
