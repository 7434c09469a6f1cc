#!/usr/bin/env bash
# Validates the desktop entry (desktop-file-validate) and the AppStream metainfo (appstreamcli,
# without the network). Hints and pedantic notes pass; warnings and errors fail. Exit status 77
# (skipped) when neither validator is installed (scripts/deps.sh installs desktop-file-utils and
# appstream).
set -uo pipefail
desktop=$1 metainfo=$2
checked=0 status=0

# validate TOOL FAILING FILE COMMAND...: runs COMMAND FILE when TOOL is installed; the check fails
# on a non-zero exit or on an output line that matches the pattern FAILING.
validate() {
  local tool=$1 failing=$2 file=$3 output code
  shift 3
  if ! command -v "$tool" >/dev/null; then
    echo "$tool is not installed: $file not checked"
    return
  fi
  checked=1
  output=$("$@" "$file" 2>&1)
  code=$?
  if [[ $code -ne 0 ]] || grep -qE "$failing" <<<"$output"; then
    printf '%s\n' "$output"
    status=1
  else
    echo "$file: valid"
  fi
}

validate desktop-file-validate ': (error|warning): ' "$desktop" desktop-file-validate
validate appstreamcli '^[EW]: ' "$metainfo" appstreamcli validate --no-net
[[ $checked -eq 1 ]] || exit 77
exit $status
