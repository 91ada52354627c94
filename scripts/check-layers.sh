#!/usr/bin/env bash
# Fails when a source file includes a header of a higher layer. A file may
# include its own layer and the layers below it:
#   project < platform < system < controls < objects, paths, archive, lang
#   < shortcuts < dialogs, visual < engine < app
# src/CMakeLists.txt links one library per layer in the same order.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1

declare -A rank=(
    [project]=0 [platform]=1 [system]=2 [controls]=3
    [objects]=4 [paths]=4 [archive]=4 [lang]=4
    [shortcuts]=5 [dialogs]=6 [visual]=6 [engine]=7 [app]=8
)

bad=0
while IFS= read -r file; do
    dir=${file#src/}
    dir=${dir%%/*}
    [ -n "${rank[$dir]+x}" ] || { echo "check-layers: $file is in no layer"; bad=1; continue; }
    while IFS=: read -r line text; do
        target=${text#*\"}
        target=${target%%\"*}
        to=${target%%/*}
        [ -n "${rank[$to]+x}" ] || continue
        if [ "${rank[$to]}" -gt "${rank[$dir]}" ]; then
            echo "check-layers: $file:$line includes \"$target\": $to is above $dir"
            bad=1
        fi
    done < <(grep -n '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file")
done < <(find src -name '*.h' -o -name '*.cpp' | sort)
exit $bad
