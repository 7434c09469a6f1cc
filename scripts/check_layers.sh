#!/usr/bin/env bash
# Checks that every include of the program's sources points down the layer list: no file includes
# a layer above its own, the engines and quarvel-cli include no Qt header, and quarvel-cli never
# reaches a window layer. Prints each offending "file: #include" line with the two layers and
# exits non-zero when there is one. Tests, benchmarks and fuzz targets are not checked.
set -euo pipefail
shopt -s extglob
cd "$(dirname "$0")/.."

# The layer table, the one place where it is written. A file takes the layer of the first row
# whose pattern (a bash pattern on its path from the project folder) it matches; it may include
# files of its own rank and below. cli stands beside the window layers: it may include cli, the
# engines, the component and the ground, and no other layer may include it.
modules='@(splitjoin|metadata|player|converter|transfer)'
layer_table=(
  # pattern                                  rank  layer
  "base/*                                    1     ground"
  "platform/xaudio/*                         2     component"
  "${modules}/forms/*                        6     forms"
  "${modules}/*View*                         6     forms"
  "${modules}/*@(Dlg|Dialog)*                6     forms"
  "${modules}/*                              3     engines"
  "@(framework|resources)/*                  4     framework"
  "shell/*                                   5     shell"
  "app/*                                     7     app"
  "cli/*                                     3     cli"
)
# The folders whose sources are checked (every folder of the table).
checked_folders=(base app platform splitjoin metadata player converter transfer framework resources shell cli)
# Engine files that may include Qt all the same: the player wrapper's bridge that posts the
# component's notifications to the GUI thread as Qt Core events.
qt_bridge=(player/XaudioNotifier.h player/XaudioNotifier.cpp)

# The table's columns, split once.
patterns=() ranks=() layers=()
for row in "${layer_table[@]}"; do
  read -r pattern rank layer <<<"$row"
  patterns+=("$pattern") ranks+=("$rank") layers+=("$layer")
done

# Sets rank and layer for a path; both empty when no row matches.
layer_of() {
  local i
  for i in "${!patterns[@]}"; do
    # shellcheck disable=SC2053 # the pattern is meant to match as a pattern
    if [[ $1 == ${patterns[i]} ]]; then
      rank=${ranks[i]} layer=${layers[i]}
      return 0
    fi
  done
  rank='' layer=''
}

# Engines and quarvel-cli stay free of Qt: every layer at or below the engines, and cli.
qt_free() { [[ $1 -le 3 ]]; }

is_qt_bridge() {
  local file
  for file in "${qt_bridge[@]}"; do [[ $1 == "$file" ]] && return 0; done
  return 1
}

offences=0
report() {
  printf '%s: %s    [%s]\n' "$1" "$2" "$3"
  offences=$((offences + 1))
}

# One include line of a file.
check_include() {
  local file=$1 line=$2 target from_rank from_layer
  layer_of "$file"
  from_rank=$rank from_layer=$layer
  [[ -n $from_layer ]] || return 0
  if [[ $line =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\<(Qt[A-Za-z]*/)?Q[A-Za-z] ]]; then
    if qt_free "$from_rank" && ! is_qt_bridge "$file"; then report "$file" "$line" "$from_layer includes Qt"; fi
    return 0
  fi
  [[ $line =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([^\"]+)\" ]] || return 0
  target=${BASH_REMATCH[1]}
  layer_of "$target"
  if [[ -z $layer ]]; then
    report "$file" "$line" "$from_layer includes a file outside the layer table"
  elif [[ $layer == cli && $from_layer != cli ]]; then
    report "$file" "$line" "$from_layer includes cli"
  elif [[ $from_layer == cli && $rank -gt 3 ]] || [[ $rank -gt $from_rank ]]; then
    report "$file" "$line" "$from_layer includes $layer"
  fi
}

# Every include line of every checked source, as "file:line".
while IFS= read -r hit; do
  check_include "${hit%%:*}" "${hit#*:}"
done < <(find "${checked_folders[@]}" -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.c' \) -print0 | LC_ALL=C sort -z |
  xargs -0 grep -HE '^[[:space:]]*#[[:space:]]*include' || true)

if [[ $offences -gt 0 ]]; then
  echo "$offences include(s) point up the layer list or bring Qt into an engine" >&2
  exit 1
fi
echo "Every include points down the layer list"
