#!/usr/bin/env bash
# Renders the shipped layout (or a modder's folder) in the simulated host, after a build:
#   scripts/previews.sh OUT [--plugin-dir DIR]   each style at 1920x1080 and the base style at
#                                                every screen size players use, into OUT/
#   scripts/previews.sh --update-docs            the same, and the three style pictures into
#                                                docs/previews/ (tracked: look at them, then commit)
# Nothing tracked is written unless --update-docs is given.
[[ "${1:-}" == --help || "${1:-}" == -h ]] && { sed -n '2,/^[^#]/s/^# \{0,1\}//p' "$0"; exit 0; } # the comment above
set -euo pipefail
cd "$(dirname "$0")/.."
sim=build/sim/kellhud-sim
scenario=docs/examples/preview.json
sizes=(1280x720 1920x1080 2560x1440 2560x1080 3840x2160 1024x768 1080x1920)
styles=(base mora sabel)

out="" plugin_dir=dist update_docs=0
while [ $# -gt 0 ]; do
    case "$1" in
        --update-docs) update_docs=1 ;;
        --plugin-dir) plugin_dir="${2:?--plugin-dir needs a folder}"; shift ;;
        -*) echo "previews: unknown option $1" >&2; exit 2 ;;
        *) out="$1" ;;
    esac
    shift
done
if [ -z "$out" ]; then
    [ "$update_docs" = 1 ] && out=build/previews || {
        echo "usage: scripts/previews.sh OUT [--plugin-dir DIR] | --update-docs" >&2; exit 2; }
fi
[ -x "$sim" ] || { echo "previews: $sim is missing: run bash scripts/build.sh first" >&2; exit 1; }
[ -f "$plugin_dir/kell-hud/settings.ini" ] || { echo "previews: $plugin_dir/kell-hud/settings.ini is missing (give --plugin-dir, or run bash scripts/build.sh first)" >&2; exit 1; }

render() { # STYLE SIZE FILE
    "$sim" --plugin-dir "$plugin_dir" --style "$1" --scenario "$scenario" --size "$2" --png "$3" >/dev/null
    echo "previews: $3 ($1, $2)"
}

mkdir -p "$out"
for style in "${styles[@]}"; do
    render "$style" 1920x1080 "$out/$style.png"
done
for size in "${sizes[@]}"; do
    render base "$size" "$out/base-$size.png"
done
if [ "$update_docs" = 1 ]; then
    for style in "${styles[@]}"; do
        cp "$out/$style.png" "docs/previews/$style.png"
        echo "previews: docs/previews/$style.png"
    done
fi
