#!/usr/bin/env bash
# One picture of several PNG textures, each in a square cell on a grey with its name, to
# look at the art at a glance:
#   contact-sheet.sh OUT.png CELL FILE.png...
# A file's label is its name without .png, prefixed by its folder when that is a style
# variant (mora/radarringfront).
set -euo pipefail
out=$1 cell=$2
shift 2
columns=8 count=$#
rows=$(( (count + columns - 1) / columns ))
label=$(( cell / 10 > 8 ? cell / 10 : 8 ))
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
{
    printf '<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" width="%d" height="%d">\n' \
        $((columns * cell)) $((rows * (cell + label + 4)))
    printf '<rect width="100%%" height="100%%" fill="#6b7580"/>\n'
    i=0
    for file in "$@"; do
        name=$(basename "$file" .png)
        folder=$(basename "$(dirname "$(dirname "$file")")")
        case $folder in mora|sabel) name="$folder/$name" ;; esac
        size=$(( cell * 17 / 10 / ${#name} ))  # long names in smaller letters
        size=$(( size < label ? size : label ))
        cp "$file" "$work/$i.png"
        x=$(( (i % columns) * cell )) y=$(( (i / columns) * (cell + label + 4) ))
        printf '<rect x="%d" y="%d" width="%d" height="%d" fill="#8a939c"/>\n' $((x + 1)) $((y + 1)) $((cell - 2)) $((cell - 2))
        printf '<image x="%d" y="%d" width="%d" height="%d" xlink:href="%d.png" preserveAspectRatio="xMidYMid meet"/>\n' \
            $((x + 2)) $((y + 2)) $((cell - 4)) $((cell - 4)) "$i"
        printf '<text x="%d" y="%d" font-family="DejaVu Sans" font-size="%d" fill="#fff" text-anchor="middle">%s</text>\n' \
            $((x + cell / 2)) $((y + cell + label)) "$size" "$name"
        i=$((i + 1))
    done
    printf '</svg>\n'
} > "$work/sheet.svg"
rsvg-convert -o "$out" "$work/sheet.svg"
