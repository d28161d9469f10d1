#!/usr/bin/env bash
# Draws the plug-in's art and packs it into the dictionaries it ships, from sources alone:
#   make-assets.sh KELLHUD-ART KELLHUD-TXD WORK-DIR KELL-HUD-DIR
# Each folder WORK-DIR/textures/P/ of PNG files becomes KELL-HUD-DIR/textures/P.txd;
# WORK-DIR/data/fonts.dat is copied to KELL-HUD-DIR/data/fonts.dat.
set -euo pipefail
art=$1 txd=$2 work=$3 out=$4

rm -rf "$work"
"$art" "$work"
while IFS= read -r dir; do
    rel=${dir#"$work/textures/"}
    mkdir -p "$(dirname "$out/textures/$rel")"
    "$txd" pack "$out/textures/$rel.txd" "$dir"/*.png >/dev/null
done < <(find "$work/textures" -name '*.png' -printf '%h\n' | sort -u)
mkdir -p "$out/data"
cp "$work/data/fonts.dat" "$out/data/fonts.dat"
