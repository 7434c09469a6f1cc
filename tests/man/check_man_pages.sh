#!/usr/bin/env bash
# Renders each manual page given and fails when groff or man warn about anything (an unknown
# macro, a bad escape, a line that cannot be broken). Exit status 77 (skipped) without groff.
set -uo pipefail
if ! command -v groff >/dev/null; then
  echo "groff is not installed (scripts/deps.sh installs groff-base and man-db): not checked"
  exit 77
fi
status=0
for page in "$@"; do
  warnings=$(groff -man -Tutf8 -ww -z "$page" 2>&1)
  if command -v man >/dev/null; then
    warnings+=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  fi
  rendered=$(MANWIDTH=80 groff -man -Tutf8 "$page" 2>/dev/null | wc -l)
  if [[ -n $warnings ]]; then
    printf '%s:\n%s\n' "$page" "$warnings"
    status=1
  elif [[ $rendered -lt 20 ]]; then
    echo "$page: rendered to only $rendered lines"
    status=1
  else
    echo "$page: renders without warnings ($rendered lines)"
  fi
done
exit $status
