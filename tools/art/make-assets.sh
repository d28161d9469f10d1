#!/usr/bin/env bash
# Draws the plug-in's art and packs it into the dictionaries it ships, from sources alone:
#   make-assets.sh KELLHUD-ART KELLHUD-TXD ICONS.json ART-DIR WORK-DIR KELL-HUD-DIR
# The art tool composes WORK-DIR/svg/P/*.svg, rsvg-convert renders each once into
# WORK-DIR/png/P/*.png, and each folder P becomes KELL-HUD-DIR/textures/P.txd. The font
# data file is measured from the rendered font sheets.
set -euo pipefail
art=$1 txd=$2 icons=$3 src=$4 work=$5 out=$6

command -v rsvg-convert >/dev/null || { echo "make-assets: rsvg-convert is not installed (run scripts/setup.sh)" >&2; exit 1; }
rm -rf "$work"
"$art" compose "$icons" "$src" "$work/svg"
# Two renderers at a time: the machine is shared.
(cd "$work/svg" && find . -name '*.svg' -printf '%P\n') | sort |
    xargs -P2 -I{} sh -c 'mkdir -p "$2/$(dirname "$3")" && rsvg-convert -o "$2/${3%.svg}.png" "$1/$3"' \
        sh "$work/svg" "$work/png" {}
while IFS= read -r dir; do
    rel=${dir#"$work/png/"}
    mkdir -p "$(dirname "$out/textures/$rel")"
    "$txd" pack "$out/textures/$rel.txd" "$dir"/*.png >/dev/null
done < <(find "$work/png" -name '*.png' -printf '%h\n' | sort -u)
"$art" font-data "$out/data/fonts.dat" "$work/png"
