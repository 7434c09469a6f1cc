#!/usr/bin/env bash
# Checks quarvel-cli's bash completion: the script given is sourced into a fresh bash, the
# completion function is called on a command line as bash would call it, and the words it offers
# are compared with the expected ones. File names come from a temporary folder of its own.
set -uo pipefail
completion=$1
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cd "$folder" || exit 1
touch "a b.ppt" ab.mp3 sfile
mkdir sub

# Prints the words offered for the command line, each in brackets; a line ending in a blank
# completes a new, empty word.
offered() {
  local words
  read -ra words <<<"$1"
  [[ $1 == *" " ]] && words+=("")
  bash --norc --noprofile -c 'source "$0" || exit 1
    COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
    _quarvel_cli; printf "[%s]" "${COMPREPLY[@]}"' "$completion" "${words[@]}" | tr '\n' ' '
}

status=0
check() {
  local got
  got=$(offered "$1")
  if [[ $got != "$2" ]]; then
    printf 'FAIL "%s": offered %s, expected %s\n' "$1" "$got" "$2"
    status=1
  fi
}

# command line                    words offered (sorted as compgen gives them)
check "quarvel-cli sp"            "[split]"
check "quarvel-cli d"             "[decode][devices]"
check "quarvel-cli --v"           "[--version]"
check "quarvel-cli info --j"      "[--json]"
check "quarvel-cli split x --cr"  "[--crypt-data]"
check "quarvel-cli decode x --p"  "[--pcm][--pitch]"
check "quarvel-cli devices --"    "[--help]"
check "quarvel-cli frob --"       "[]"
check "quarvel-cli info a"        "[ab.mp3][a b.ppt]"
check "quarvel-cli join x --out s" "[sub]"
check "quarvel-cli decode x --out s" "[sfile][sub]"
check "quarvel-cli info --key a"  "[]"
check "quarvel-cli split x --key " "[]"
check "quarvel-cli tag x --genre " "[]"
check "quarvel-cli up"            "[upload]"
check "quarvel-cli upload x u --p" "[--password-file]"
check "quarvel-cli upload x u --identity a" "[ab.mp3][a b.ppt]"
check "quarvel-cli upload x u --user a" "[]"

# As an interactive shell loads it: the completion is registered for quarvel-cli.
registered=$(bash --norc --noprofile -i -c "source '$completion'; complete -p quarvel-cli" 2>/dev/null)
if [[ $registered != "complete -F _quarvel_cli quarvel-cli" ]]; then
  echo "FAIL: the completion is not registered for quarvel-cli: '$registered'"
  status=1
fi
[[ $status -eq 0 ]] && echo "quarvel-cli completion offers what it should"
exit $status
