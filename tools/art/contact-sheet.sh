#!/usr/bin/env bash
# One picture of every texture in a folder of PNG files, each in a cell of 128 x 128 on a
# grey with its name, to look at the art at a glance:
#   contact-sheet.sh PNG-DIR OUT.png [CELL]
set -euo pipefail
dir=$1 out=$2 cell=${3:-128}
files=("$dir"/*.png)
columns=8 count=${#files[@]}
rows=$(( (count + columns - 1) / columns ))
sheet="$dir/.contact-sheet.svg"
{
    printf '<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" width="%d" height="%d">\n' \
        $((columns * cell)) $((rows * (cell + 16)))
    printf '<rect width="100%%" height="100%%" fill="#6b7580"/>\n'
    for i in "${!files[@]}"; do
        name=$(basename "${files[$i]}" .png)
        x=$(( (i % columns) * cell )) y=$(( (i / columns) * (cell + 16) ))
        printf '<rect x="%d" y="%d" width="%d" height="%d" fill="#8a939c"/>\n' $((x + 2)) $((y + 2)) $((cell - 4)) $((cell - 4))
        printf '<image x="%d" y="%d" width="%d" height="%d" xlink:href="%s" preserveAspectRatio="xMidYMid meet"/>\n' \
            $((x + 4)) $((y + 4)) $((cell - 8)) $((cell - 8)) "$name.png"
        printf '<text x="%d" y="%d" font-family="DejaVu Sans" font-size="11" fill="#fff" text-anchor="middle">%s</text>\n' \
            $((x + cell / 2)) $((y + cell + 11)) "$name"
    done
    printf '</svg>\n'
} > "$sheet"
rsvg-convert -o "$out" "$sheet"
rm -f "$sheet"
