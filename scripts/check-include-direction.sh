#!/usr/bin/env bash
# Checks that every project include of the source tree points down the layer list.
#
#   check-include-direction.sh SRC_ROOT LAYER_SPEC... [-- OUTSIDE_SPEC...]
#
# LAYER_SPEC is "layer:folder,folder", lowest layer first; a file may include its own layer
# and the layers before it. OUTSIDE_SPEC is "folder:layer,layer" for a folder that stands
# outside the list (a separate program or tool): it may include itself and the layers named.
# Every include names its folder from SRC_ROOT ("core/modLog.h"). Each offending include is
# printed as "file:line: reason"; the exit code is 1 when there is one, 0 otherwise.
set -euo pipefail

root=${1:?usage: check-include-direction.sh SRC_ROOT LAYER_SPEC... [-- OUTSIDE_SPEC...]}
shift

declare -A folderLayer=()  # folder -> layer (or "outside:<folder>")
declare -A layerRank=()    # layer -> position in the list
declare -A outsideAllows=() # outside folder -> " layer layer "
rank=0
while [ $# -gt 0 ] && [ "$1" != "--" ]; do
  layer=${1%%:*}
  layerRank[$layer]=$rank
  IFS=, read -r -a folders <<<"${1#*:}"
  for folder in "${folders[@]}"; do folderLayer[$folder]=$layer; done
  rank=$((rank + 1))
  shift
done
[ $# -gt 0 ] && shift
for spec in "$@"; do
  folder=${spec%%:*}
  folderLayer[$folder]="outside:$folder"
  allowed=${spec#*:}
  [ "$allowed" = "$spec" ] && allowed=""
  outsideAllows[$folder]=" ${allowed//,/ } "
done

# Sets `found` to the layer of a path below the root: that of the longest known folder it
# lies in, or empty.
layerOf() {
  local path=$1 best="" folder
  for folder in "${!folderLayer[@]}"; do
    case "$path" in
      "$folder"/*) [ ${#folder} -gt ${#best} ] && best=$folder ;;
    esac
  done
  found=""
  [ -n "$best" ] && found=${folderLayer[$best]}
  return 0
}

failures=0
report() {
  echo "$1: $2"
  failures=$((failures + 1))
}

while IFS= read -r -d '' file; do
  layerOf "${file#"$root"/}"
  [ -n "$found" ] || report "${file#"$root"/}:1" "the folder belongs to no layer"
done < <(find "$root" -type f \( -name '*.cpp' -o -name '*.h' \) -print0)

# One grep over the whole tree: "file:line:text" of every quoted include.
while IFS=: read -r file line text; do
  relative=${file#"$root"/}
  layerOf "$relative"
  own=$found
  [ -n "$own" ] || continue
  target=${text#*\"}
  target=${target%%\"*}
  layerOf "$target"
  theirs=$found
  if [ -z "$theirs" ]; then
    report "$relative:$line" "\"$target\" does not name a layer's folder from the include root"
  elif [ "$theirs" = "$own" ]; then
    continue
  elif [[ $own == outside:* ]]; then
    [[ ${outsideAllows[${own#outside:}]} == *" $theirs "* ]] ||
      report "$relative:$line" "\"$target\" is not among what ${own#outside:} may include"
  elif [[ $theirs == outside:* ]]; then
    report "$relative:$line" "\"$target\" lies outside the layers ($own may not include it)"
  elif [ "${layerRank[$theirs]}" -gt "${layerRank[$own]}" ]; then
    report "$relative:$line" "\"$target\" is in the higher layer $theirs ($own may include only the layers before it)"
  fi
done < <(grep -rnH --include='*.cpp' --include='*.h' '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$root" | sort -t: -k1,1 -k2,2n)

if [ "$failures" -gt 0 ]; then
  echo "$failures include(s) against the layer order"
  exit 1
fi
