#!/usr/bin/env bash
# Fails when a file of the plug-in includes a header from a folder above its own. The
# folders of src/, lowest first; folders on one line are side by side and include neither
# each other nor anything above them. docs/architecture.md explains the layers.
#
#   bash scripts/check-layers.sh
[[ "${1:-}" == --help || "${1:-}" == -h ]] && { sed -n '2,/^[^#]/s/^# \{0,1\}//p' "$0"; exit 0; } # the comment above
set -euo pipefail

layers=(
    "platform"
    "host injector"
    "core"
    "data"
    "state"
    "textures"
    "draw"
    "hud radar"
    "hooks"
    "app"
)

src=$(cd "$(dirname "$0")/../src" && pwd)
declare -A rank
for i in "${!layers[@]}"; do
    for folder in ${layers[$i]}; do rank[$folder]=$i; done
done

status=0
for folder in "$src"/*/; do
    folder=$(basename "$folder")
    if [ -z "${rank[$folder]+set}" ]; then
        echo "check-layers: src/$folder/ is in no layer; add it to the list in scripts/check-layers.sh and to docs/architecture.md" >&2
        status=1
    fi
done
while IFS=: read -r file line text; do
    from=${file#"$src"/}; from=${from%%/*}
    to=$(sed -E 's/^#include "([a-z_]+)\/.*/\1/' <<<"$text")
    [ "$to" = "$from" ] && continue
    [ -n "${rank[$from]+set}" ] || continue
    if [ -z "${rank[$to]+set}" ]; then
        echo "src/${file#"$src"/}:$line: includes $to/, which is in no layer" >&2
        status=1
    elif [ "${rank[$to]}" -ge "${rank[$from]}" ]; then
        echo "src/${file#"$src"/}:$line: $from/ includes $to/, which is not below it: ${text}" >&2
        status=1
    fi
done < <(grep -rn --include='*.h' --include='*.cpp' -E '^#include "[a-z_]+/' "$src")
[ $status -eq 0 ] && echo "check-layers: every include of src/ points down"
exit $status
