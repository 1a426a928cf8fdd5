#!/usr/bin/env bash
# Checks that every folder includes only folders at or below its own layer: base/ first;
# then ui/ and skin/; then playlist/; then engine/; then playback/; then command/; then player/; then mpris/;
# then app/.
# Prints each include that points up and exits 1 when there is one.
set -uo pipefail
root=${1:-$(cd "$(dirname "$0")/../.." && pwd)}
declare -A layer=([base]=0 [ui]=1 [skin]=1 [playlist]=2 [engine]=3 [playback]=4 [command]=5 [player]=6 [mpris]=7 [app]=8)
# ui/ and skin/ share a layer but stay apart: the skin component shows no boxes.
declare -A apart=([ui:skin]=1 [skin:ui]=1)
status=0
for folder in "${!layer[@]}"; do
    while IFS=: read -r file line text; do
        target=$(sed -E 's/.*#include "([a-z]+)\/.*/\1/' <<<"$text")
        [ -n "${layer[$target]+x}" ] || continue
        if ((layer[$target] > layer[$folder])) || [ -n "${apart[$folder:$target]+x}" ]; then
            echo "$file:$line: $folder/ includes $target/: $text"
            status=1
        fi
    done < <(grep -rnE '^#include "[a-z]+/' "$root/$folder" --include='*.h' --include='*.cpp')
done
exit $status
