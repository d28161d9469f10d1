#!/usr/bin/env bash
# Shows that two sim builds of the plug-in behave the same: the trace and the patched host
# bytes of every scenario in docs/examples and of a heavy radar scenario made here, with the
# shipped settings, with every option set on, and with the layout from before anchors. Plug-in addresses inside patched bytes (call and jump targets,
# operands that address the plug-in's data) are compared by the symbol they name, since
# they move with every change of code and with every load.
#
#   bash scripts/compare-builds.sh [--alias 'PATTERN=NAME']... [--tolerance T] BUILD_BEFORE BUILD_AFTER
#
# Each BUILD is a sim build folder holding KellHud.so (e.g. build/sim of another checkout);
# both libraries run in the simulated host of BUILD_AFTER, so only the plug-in differs.
# --alias renames the symbols a Python regular expression matches on both sides, for code
# that was renamed on purpose. --tolerance lets numbers in the traces differ by up to T
# (e.g. 1e-3 pixels, for arithmetic done another way). Exit status 0 when everything is the
# same, 1 otherwise.
[[ "${1:-}" == --help || "${1:-}" == -h ]] && { sed -n '2,/^[^#]/s/^# \{0,1\}//p' "$0"; exit 0; } # the comment above
set -euo pipefail

aliases=()
tolerance=0
while [ $# -gt 0 ]; do
    case "$1" in
    --alias) aliases+=("$2"); shift 2 ;;
    --tolerance) tolerance=$2; shift 2 ;;
    *) break ;;
    esac
done
if [ $# -ne 2 ]; then
    echo "usage: bash scripts/compare-builds.sh [--alias 'PATTERN=NAME']... [--tolerance T] BUILD_BEFORE BUILD_AFTER" >&2
    exit 2
fi
root=$(cd "$(dirname "$0")/.." && pwd)
for file in "$1/KellHud.so" "$2/KellHud.so" "$2/kellhud-sim"; do
    [ -f "$file" ] || { echo "compare-builds: $file is missing (build the sim preset there first)" >&2; exit 2; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

source "$root/scripts/settings-folders.sh"
make_settings_folders "$work" "$root"

canonical_patches() { python3 "$root/scripts/compare_runs.py" patches "$1" "$2" "${aliases[@]}"; }

# A heavy radar frame besides the examples: a 2000-node route (with a repeated node and one
# placed nowhere) and 100 blips with level and sized markers, through the radar zoom key,
# the display toggled off and on, a shorter reported count and the full-screen map, on a
# screen that is not the reference one.
python3 - "$work/radar.json" <<'EOF'
import json, math, sys
def route(n, turn):
    nodes = [[round((30 + 40 * math.sin(i * 0.013)) * math.cos(i * 0.05 + turn) + (i * 7919 % 600) / 100 - 3, 3),
              round((30 + 40 * math.sin(i * 0.013)) * math.sin(i * 0.05 + turn) + (i * 104729 % 600) / 100 - 3, 3), 0]
             for i in range(n)]
    nodes[10] = list(nodes[9])
    nodes[700] = ["nan", 0, 0]
    return nodes
blips = [{"id": i * 7 % 60, "at": [round((i * 37 % 241) / 100 - 1.2, 4), round((i * 53 % 241) / 100 - 1.2, 4)],
          "alpha": i * 37 % 256, "level": {"kind": i % 4, "colour": [i, 3 * i % 256, 7 * i % 256, 255]},
          **({"sized": [i, 1.5, 2.5, 3.5, 40, 50, 9]} if i % 10 == 0 else {})} for i in range(100)]
world = [{"frame": f,
          "players": [{"position": [0, 0, 0], "vehicle": {"type": 0 if f < 40 else 4, "matrix": [0.1, 0.9]},
                       "health": 80, "armour": 40}, None],
          "target": {"index": 5, "counter": 7, "flags": 1, "position": [5000, 5000, 0]},
          "route": {"nodes": route(2000 if f < 30 else 1500, f * 0.01), **({"count": 1800} if f == 13 else {})},
          "blips": blips, "map_view": {"scale": 2.5, "origin": [300 + f, 200]}} for f in range(1, 49, 6)]
json.dump({"screen": [1280, 720], "frames": 48, "clock": {"start_ms": 5000, "step_ms": 33},
           "steps": [{"frame": 25, "ms": 1500}],
           "keys": [{"key": 84, "from": 3, "to": 6}, {"key": 122, "from": 20, "to": 20},
                    {"key": 122, "from": 26, "to": 26}, {"key": 84, "from": 36, "to": 37}],
           "map_screen": [{"from": 31, "to": 35}], "world": world}, open(sys.argv[1], "w"))
EOF

status=0
scenarios=$(cd "$root/docs/examples" && ls *.json | sed 's/\.json$//')
for scenario in $scenarios radar; do
    for settings in shipped options unanchored; do
        for side in before after; do
            build=$1; [ $side = after ] && build=$2
            out="$work/$side-$scenario-$settings"
            file="$root/docs/examples/$scenario.json"; [ $scenario = radar ] && file="$work/radar.json"
            "$2/kellhud-sim" --plugin "$build/KellHud.so" --plugin-dir "$work/$settings" --scenario "$file" \
                --trace "$out.trace" --patches "$out.patches" >/dev/null
            canonical_patches "$out.patches" "$build/KellHud.so" > "$out.named"
        done
        python3 "$root/scripts/compare_runs.py" report "$scenario.json with the $settings settings" \
            "$work/before-$scenario-$settings" "$work/after-$scenario-$settings" "$tolerance" || status=1
    done
done
exit $status
