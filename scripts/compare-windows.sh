#!/usr/bin/env bash
# Shows that the Windows simulated host (kellhud-sim.exe under Wine, loading the real
# KellHud.asi) and the Linux one (loading KellHud.so) see the same plug-in: the trace, the
# patched host bytes (plug-in addresses compared by the symbol they name) and the picture
# of docs/examples/busy.json and preview.json, with the shipped settings and with every
# option set on.
#
#   bash scripts/compare-windows.sh [LINUX_BUILD [WINDOWS_TOOLS_BUILD [WINDOWS_DLL_BUILD]]]
#
# Defaults: build/sim, build/win32-tools, build/win32. Exit status 0 when everything is the
# same, 1 otherwise, 77 (with one line why) when Wine cannot run here.
[[ "${1:-}" == --help || "${1:-}" == -h ]] && { sed -n '2,/^[^#]/s/^# \{0,1\}//p' "$0"; exit 0; } # the comment above
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
linux=${1:-$root/build/sim} tools=${2:-$root/build/win32-tools} dll=${3:-$root/build/win32}
source "$root/tests/windows/wine.sh"
need_file "$linux/kellhud-sim" "build the sim preset"
need_file "$tools/kellhud-sim.exe" "build the win32-tools preset"
need_file "$dll/KellHud.asi" "build the win32 preset"
need_file "$dll/KellHud.asi.debug" "build the win32 preset (its unstripped DLL names the symbols)"
need_wine
linux=$(cd "$linux" && pwd) tools=$(cd "$tools" && pwd) dll=$(cd "$dll" && pwd)
# What kellhud-sim.exe sees: the comparison's folder (W:), its own build with the fonts
# beside it (T:), the plug-in's (P:) and the examples (E:); no Linux path besides.
work="$wine_home/work"
mkdir "$work"
cd "$work" # a working folder the Windows program sees
wine_drive t "$tools"
wine_drive p "$dll"
wine_drive e "$root/docs/examples"
source "$root/scripts/settings-folders.sh"
make_settings_folders "$work" "$root"

status=0
for scenario in busy preview; do
    for settings in shipped options; do
        l="$work/linux-$scenario-$settings" w="$work/windows-$scenario-$settings"
        "$linux/kellhud-sim" --plugin "$linux/KellHud.so" --plugin-dir "$work/$settings" \
            --scenario "$root/docs/examples/$scenario.json" --trace "$l.trace" --patches "$l.patches" --png "$l.png" >/dev/null
        wine "$tools/kellhud-sim.exe" --plugin "$(winpath "$dll/KellHud.asi")" --plugin-dir "$(winpath "$work/$settings")" \
            --scenario "$(winpath "$root/docs/examples/$scenario.json")" --trace "$(winpath "$w.trace")" \
            --patches "$(winpath "$w.patches")" --png "$(winpath "$w.png")" >"$w.out" 2>&1 ||
            { echo "FAILED: kellhud-sim.exe on $scenario.json:"; cat "$w.out"; status=1; continue; }
        # The host image's own bytes hold the simulated host's addresses, which differ
        # between the two programs: only what the plug-in wrote is compared.
        python3 "$root/scripts/compare_runs.py" patches-after "$l.patches" "$linux/KellHud.so" >"$l.named"
        python3 "$root/scripts/compare_runs.py" patches-after "$w.patches" "$dll/KellHud.asi.debug" >"$w.named"
        name="$scenario.json with the $settings settings"
        python3 "$root/scripts/compare_runs.py" report "$name" "$l" "$w" 0 || status=1
        if cmp -s "$l.png" "$w.png"; then
            echo "same picture: $name"
        else
            echo "OTHER PICTURE: $name"; status=1
        fi
    done
done
exit $status
