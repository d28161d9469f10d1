#!/usr/bin/env bash
# The Windows modders' tools under Wine, on Windows paths (drive letter, backslashes,
# spaces, letters beyond ASCII) and with no view of the Linux root: kellhud-sim.exe makes,
# checks, previews and packs a modder's folder from a folder laid out as the tools archive;
# kellhud-txd.exe packs (expanding a wildcard itself) and lists, writes the same dictionary
# as the Linux tool byte for byte, and on a folder it cannot write or a file another
# program holds open says so and leaves the old file as it was.
#
#   bash tests/windows/modder_tools.sh LINUX_BUILD WINDOWS_TOOLS_BUILD WINDOWS_DLL_BUILD
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
linux=$(cd "$1" && pwd) tools=$(cd "$2" && pwd) dll=$(cd "$3" && pwd)
source "$root/tests/windows/wine.sh"
need_file "$linux/kellhud-txd" "build the sim preset"
need_file "$linux/kell-hud/settings.ini" "build the sim preset (it stages the shipped folder)"
need_file "$tools/kellhud-txd.exe" "build the win32-tools preset"
need_file "$tools/kellhud-sim.exe" "build the win32-tools preset"
need_file "$dll/KellHud.asi" "build the win32 preset"
need_wine
# What the Windows programs see: the test's own folder (W:, with the tools' archive laid out
# in it), the Windows tools' build (T:) and, for a folder nothing can write in, the
# kernel's own (P:).
work="$wine_home/work"
mkdir "$work"
cd "$work" # a working folder the Windows programs see
wine_drive t "$tools"
wine_drive p /proc
txd() { wine "$tools/kellhud-txd.exe" "$@" 2>&1 | tr -d '\r'; }
fail() { echo "FAILED: $*"; exit 1; }

folder="$work/Mödder Ordner"
mkdir -p "$folder/png"

# The tools as their archive lays them out, and a modder's folder made, checked and
# previewed with them (and laid out in the studio).
kit="$work/KellHud-modder-tools"
mkdir -p "$kit/examples"
cp "$tools/kellhud-sim.exe" "$dll/KellHud.asi" "$kit/"
cp -r "$tools/fonts" "$kit/"
cp -r "$linux/kell-hud" "$kit/"
cp "$root/docs/examples/preview.json" "$kit/examples/"
sim() { wine "$kit/kellhud-sim.exe" "$@" 2>&1 | tr -d '\r'; }
mod=$(winpath "$folder")'\my hud'
said=$(sim --new-mod "$mod") || fail "--new-mod: $said"
grep -qF "kellhud-sim.exe --check --plugin-dir \"$mod\"" <<<"$said" || fail "--new-mod printed no check command for $mod: $said"
said=$(sim --check --plugin-dir "$mod") || fail "--check: $said"
grep -q ": 0 errors, 0 warnings" <<<"$said" || fail "--check of a fresh folder: $said"

# The studio from the same folder: it serves its page and draws with kellhud-sim.exe beside it.
# Not where qemu runs Wine: a program with several threads waiting at once loses its link to
# Wine's server there ("wine client error: partial wakeup read"), and the studio serves so.
need_file "$tools/kellhud-studio.exe" "build the win32-tools preset"
if entry=$(qemu_i386_entry); then
    echo "skipped: kellhud-studio.exe, whose threads Wine cannot run under qemu-user ($entry)"
else
    cp "$tools/kellhud-studio.exe" "$kit/"
    wine "$kit/kellhud-studio.exe" --plugin-dir "$mod" --no-browser >"$work/studio.out" 2>&1 &
    studio=$!
    # Up to two minutes, for a busy machine.
    for _ in $(seq 600); do grep -q "^Kell Hud Studio: " "$work/studio.out" && break; sleep 0.2; done
    url=$(tr -d '\r' <"$work/studio.out" | sed -n 's/^Kell Hud Studio: //p')
    [ -n "$url" ] || fail "kellhud-studio.exe printed no address: $(cat "$work/studio.out")"
    said=$(python3 - "$url" <<'END'
import json, sys, urllib.request
url = sys.argv[1]
base, token = url.split("/?token=")
def call(path, body=None):
    request = urllib.request.Request(base + path, data=body and json.dumps(body).encode(), headers={"X-Kell-Token": token})
    return json.load(urllib.request.urlopen(request, timeout=120))
state = call("/api/state")
assert state["layout"][2]["key"] == "HUD_RADAR_MAP", state["layout"][2]
drawn = call("/api/render", {"changes": {}, "scenario": "preview", "width": 640, "height": 360})
assert (drawn.get("image") or "").startswith("data:image/png;base64,"), drawn.get("error")
print(len(drawn["boxes"]), "boxes,", len(drawn["findings"]), "findings")
END
    ) || status=$?
    kill $studio 2>/dev/null; wait $studio 2>/dev/null || true
    [ "${status:-0}" = 0 ] || fail "kellhud-studio.exe: $said $(cat "$work/studio.out")"
    echo "ok: kellhud-studio.exe served the folder and drew it with kellhud-sim.exe: $said"
fi
said=$(sim --plugin-dir "$mod" --scenario "$(winpath "$kit/examples/preview.json")" --png "$mod\hud.png") ||
    fail "preview: $said"
[ -s "$folder/my hud/hud.png" ] || fail "the preview wrote no $mod\hud.png: $said"
cp "$linux/KellHud.so" "$work/"
said=$(sim --plugin "$(winpath "$work/KellHud.so")" --plugin-dir "$mod") && fail "the Linux library was taken: $said"
grep -q "is the Linux build of the plug-in" <<<"$said" || fail "--plugin KellHud.so: $said"
echo "ok: made, checked and previewed $mod; the Linux library refused"
# Packed on Windows with the KellHud.asi beside the program: the same bytes as on Linux.
mkdir "$folder/my hud/kell-hud/png" && echo "a picture being drawn" >"$folder/my hud/kell-hud/png/star.png"
said=$(sim --pack "$mod" "$(winpath "$work/windows-pack")") || fail "--pack: $said"
grep -q "left out of the zip.*" <<<"$said" || fail "--pack did not name the file it left out: $said"
bash "$root/scripts/package.sh" --from "$folder/my hud" "$work/linux-pack" >/dev/null 2>&1 || fail "package.sh --from failed"
cmp "$work"/windows-pack/KellHud-*.zip "$work"/linux-pack/KellHud-*.zip || fail "kellhud-sim.exe --pack and package.sh --from made different archives"
echo "ok: kellhud-sim.exe --pack made the archive package.sh --from makes, byte for byte"
"$linux/kellhud-txd" unpack "$root/assets/kell-hud/textures/weapons.txd" "$folder/png" >/dev/null
"$linux/kellhud-txd" pack "$work/linux.txd" "$folder"/png/*.png >/dev/null
out=$(winpath "$folder/weapons.txd")

# From the modder's folder, as typed in a command prompt.
said=$(cd "$folder" && txd pack "$out" 'png\*.png') || fail "pack on Windows paths: $said"
grep -q "43 textures packed" <<<"$said" || fail "pack said: $said"
cmp -s "$folder/weapons.txd" "$work/linux.txd" || fail "the Windows tool's dictionary differs from the Linux tool's"
said=$(txd list "$out") || fail "list: $said"
grep -q "^  m4 " <<<"$said" || fail "list shows no m4: $said"
echo "ok: packed and listed on $out, byte for byte the Linux tool's dictionary"

# A folder nothing can be written in (the kernel's own, read-only for everyone).
if said=$(txd pack 'P:\weapons.txd' "$(winpath "$folder/png")\\*.png"); then
    fail "packing into a read-only folder succeeded: $said"
fi
grep -q "nothing was changed" <<<"$said" || fail "read-only folder: $said"
echo "ok: a read-only folder: $(tail -1 <<<"$said")"

# A dictionary another program holds open without sharing it.
cat >"$work/hold.c" <<'END'
#include <windows.h>
/* Holds a file open, sharing nothing, and makes a third file to say so, until a second
   file appears. */
int main(int argc, char** argv)
{
    HANDLE file = CreateFileA(argv[1], GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    CloseHandle(CreateFileA(argv[3], GENERIC_WRITE, 0, NULL, CREATE_NEW, 0, NULL));
    while (GetFileAttributesA(argv[2]) == INVALID_FILE_ATTRIBUTES)
        Sleep(50);
    CloseHandle(file);
    return 0;
}
END
i686-w64-mingw32-gcc -O2 "$work/hold.c" -o "$work/hold.exe"
cp "$folder/weapons.txd" "$work/before.txd"
rm "$folder/png/m4.png" && cp "$folder/png/ak47.png" "$folder/png/m4.png" # a changed set
wine "$work/hold.exe" "$out" "$(winpath "$work/release")" "$(winpath "$work/holding")" &
holder=$!
for _ in $(seq 600); do [ -e "$work/holding" ] && break; sleep 0.2; done
[ -e "$work/holding" ] || fail "hold.exe did not open $out"
said=$(txd pack "$out" "$(winpath "$folder/png")\\*.png") && status=0 || status=$?
touch "$work/release"
wait $holder || true
[ $status -ne 0 ] || fail "packing over a file held open succeeded: $said"
grep -q "nothing was changed" <<<"$said" || fail "held file: $said"
cmp -s "$folder/weapons.txd" "$work/before.txd" || fail "the held file was changed"
[ ! -e "$folder/weapons.txd.partial" ] || fail "a half-written weapons.txd.partial was left"
echo "ok: a file held open: $(tail -1 <<<"$said")"
