#!/usr/bin/env bash
# Shows that two sim builds of the plug-in behave the same: the trace and the patched host
# bytes of docs/examples/busy.json and preview.json, with the shipped settings and with
# every option set on. Plug-in addresses inside patched bytes (call and jump targets,
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

# The shipped data, and a copy with every option patch set switched on.
mkdir "$work/shipped"
cp -r "$root/assets/kell-hud" "$work/shipped/"
cp -r "$work/shipped" "$work/options"
sed -i -E 's/^(bUseKellFonts|bKellMarkers|bKellOnFootCamera|bKellVehicleCamera|bEnableBlendingMode) *=.*/\1 = 1/' \
    "$work/options/kell-hud/settings.ini"

canonical_patches() { python3 "$root/scripts/compare_runs.py" patches "$1" "$2" "${aliases[@]}"; }

status=0
for scenario in busy preview; do
    for settings in shipped options; do
        for side in before after; do
            build=$1; [ $side = after ] && build=$2
            out="$work/$side-$scenario-$settings"
            "$2/kellhud-sim" --plugin "$build/KellHud.so" --plugin-dir "$work/$settings" --scenario "$root/docs/examples/$scenario.json" \
                --trace "$out.trace" --patches "$out.patches" >/dev/null
            canonical_patches "$out.patches" "$build/KellHud.so" > "$out.named"
        done
        python3 "$root/scripts/compare_runs.py" report "$scenario.json with the $settings settings" \
            "$work/before-$scenario-$settings" "$work/after-$scenario-$settings" "$tolerance" || status=1
    done
done
exit $status
