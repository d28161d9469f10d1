#!/usr/bin/env bash
# Renders the shipped layout in the simulated host, after a build (scripts/build.sh):
#   scripts/previews.sh          each style at 1920x1080 into docs/previews/, and the base
#                                style at every screen size players use into build/previews/
# Look at the pictures after changing hud.dat or a colour file; commit docs/previews/.
set -euo pipefail
cd "$(dirname "$0")/.."
sim=build/sim/kellhud-sim
scenario=docs/examples/preview.json
sizes=(1280x720 1920x1080 2560x1440 2560x1080 3840x2160 1024x768 1080x1920)
styles=(base mora sabel)

[ -x "$sim" ] || { echo "previews: $sim is missing: run bash scripts/build.sh first" >&2; exit 1; }
[ -f dist/kell-hud/settings.ini ] || { echo "previews: dist/kell-hud is missing: run bash scripts/build.sh first" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# One plug-in folder per style: the shipped files with iVesk set.
for i in "${!styles[@]}"; do
    mkdir -p "$work/${styles[$i]}"
    cp -r dist/kell-hud "$work/${styles[$i]}/"
    sed -i "s/^iVesk *=.*/iVesk = $i/" "$work/${styles[$i]}/kell-hud/settings.ini"
done

render() { # STYLE SIZE FILE
    "$sim" --plugin-dir "$work/$1" --scenario "$scenario" --size "$2" --png "$3" >/dev/null
    echo "previews: $3 ($1, $2)"
}

mkdir -p docs/previews build/previews
for style in "${styles[@]}"; do
    render "$style" 1920x1080 "docs/previews/$style.png"
done
for size in "${sizes[@]}"; do
    render base "$size" "build/previews/base-$size.png"
done
