#!/usr/bin/env bash
# Makes the release archive KellHud-<version>.zip, laid out as a player installs it: its
# root is what goes into the game folder (KellHud.asi, kell-hud/, KellHud-README.txt), with
# the licences under kell-hud/licenses/. Of the shipped files it also makes the Windows
# modders' tools, KellHud-<version>-modder-tools-win32.zip: one folder, KellHud-modder-tools/,
# that can be unzipped into the game folder without touching anything there. The version
# is the project's, from CMakeLists.txt.
#
# Needs the Windows build (build/win32/KellHud.asi), for the shipped files the Windows
# tools (build/win32-tools), and the simulated build: it draws the shipped texture
# dictionaries into assets/kell-hud/textures/, and its kellhud-sim --pack checks a folder
# in every style and writes the archive (refusing a folder with errors).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

usage="usage: scripts/package.sh [OUT_DIR]
           the shipped files (default OUT_DIR: dist/)
       scripts/package.sh --from DIR [--include-extra] [OUT_DIR]
           a modder's folder: DIR/kell-hud as it is (default OUT_DIR: DIR), checked first
           in every style; files in it that the plug-in never reads are left out (and
           listed) unless --include-extra is given"

fail() {
    echo "package.sh: $*" >&2
    exit 1
}

from=""
include_extra=0
while [ $# -gt 0 ]; do
    case "$1" in
    --help | -h) echo "$usage"; exit 0 ;;
    --from)
        [ $# -ge 2 ] || fail "--from needs the folder that holds kell-hud/ (kellhud-sim --new-mod DIR makes one)"
        from="$2"
        shift 2
        ;;
    --include-extra) include_extra=1; shift ;;
    -*) fail "unknown option $1 ($usage)" ;;
    *) break ;;
    esac
done
[ $# -le 1 ] || fail "$usage"
[ -n "$from" ] || [ "$include_extra" = 0 ] || fail "--include-extra goes with --from DIR"
# In a modder's folder, packing the shipped files instead of theirs would be a silent mistake.
if [ -z "$from" ] && [ -d kell-hud ] && [ "$(pwd -P)" != "$(cd "$root" && pwd -P)" ]; then
    fail "the current folder $(pwd) holds kell-hud/, but without --from this packs the shipped files, not yours: run scripts/package.sh --from . (nothing was packed)"
fi

version="$(sed -n 's/^project(KellHud VERSION \([0-9][0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
[ -n "$version" ] || fail "no 'project(KellHud VERSION x.y.z ...)' line in $root/CMakeLists.txt"

asi="$root/build/win32/KellHud.asi"
[ -f "$asi" ] || fail "$asi is missing: build the Windows DLL first (scripts/build.sh, or cmake --preset win32 && cmake --build --preset win32)"
# The archive itself is kellhud-sim --pack's work, the same code a Windows modder packs with:
# it checks the folder in every style (what players get is what the check passed), leaves
# out what the plug-in never reads, and writes the zip whole before putting it in place.
sim="$root/build/sim/kellhud-sim"
[ -x "$sim" ] || fail "$sim is missing: build the simulated build first (cmake --preset sim && cmake --build --preset sim); it checks and packs the folder"
if [ -n "$from" ]; then
    data="$from/kell-hud"
    [ -d "$data" ] || fail "$data is missing: --from takes the folder that holds kell-hud/ (kellhud-sim --new-mod DIR makes one)"
    pack=(--pack "$from" "${1:-$from}")
    [ "$include_extra" = 0 ] || pack+=(--include-extra)
else
    data="$root/assets/kell-hud"
    out="${1:-$root/dist}"
    pack=(--pack "$root/assets" "$out")
    compgen -G "$data/textures/*.txd" >/dev/null ||
        fail "no texture dictionaries in $data/textures: build the simulated build first (cmake --preset sim && cmake --build --preset sim), it draws them"
fi
"$sim" "${pack[@]}" --plugin-dll "$asi" || exit 1

[ -z "$from" ] || exit 0
# The Windows modders' tools, with the same plug-in and the same shipped folder (the one
# --new-mod copies), the modders' docs and the example scenarios.
stage="$(mktemp -d)"
# Copies of read-only files and folders are read-only too: made writable before removal.
trap 'chmod -R u+w "$stage" 2>/dev/null; rm -rf "$stage"' EXIT
tools="$root/build/win32-tools"
for exe in kellhud-sim.exe kellhud-txd.exe kellhud-studio.exe; do
    [ -f "$tools/$exe" ] || fail "$tools/$exe is missing: build the Windows tools first (cmake --preset win32-tools && cmake --build --preset win32-tools)"
done
kit="$stage/tools/KellHud-modder-tools"
mkdir -p "$kit/docs" "$kit/examples" "$kit/licenses"
[ -d "$tools/fonts" ] || fail "$tools/fonts is missing: build the Windows tools again (it copies the preview's fonts there)"
cp "$tools/kellhud-sim.exe" "$tools/kellhud-txd.exe" "$tools/kellhud-studio.exe" "$asi" "$kit/"
cp -r "$tools/fonts" "$kit/"
cp -r "$data" "$kit/kell-hud"
chmod -R u+w "$kit/kell-hud"
# Our licences, as in the release.
mkdir -p "$kit/kell-hud/licenses"
cp "$root/LICENSE" "$kit/kell-hud/licenses/KellHud-LICENSE.txt"
cp "$root"/LICENSES/* "$kit/kell-hud/licenses/"
# The pages mark what fits only one copy, each marker on a line of its own: between
# "<!-- source -->" and "<!-- /source -->" what only the source checkout can use (Linux
# commands, its scripts, pages the kit leaves out), dropped here; between "<!-- tools-zip"
# and "tools-zip -->" the Windows text, an HTML comment the repository's pages hide, shown
# here. A marker left open, or a "<!--" that is no marker (a mistyped one), stops the packing.
kit_page() {
    awk -v page="docs/$1.md" '
        function bad(why) { print "package.sh: " page ", line " NR ": " why > "/dev/stderr"; failed = 1; exit 1 }
        /^[ \t]*<!-- source -->[ \t]*$/ { if (mode != "") bad("a marker inside another"); mode = "source"; gap = 1; next }
        /^[ \t]*<!-- \/source -->[ \t]*$/ { if (mode != "source") bad("a source end without its start"); mode = ""; next }
        /^[ \t]*<!-- tools-zip[ \t]*$/ { if (mode != "") bad("a marker inside another"); mode = "tools-zip"; gap = 1; next }
        /^[ \t]*tools-zip -->[ \t]*$/ { if (mode != "tools-zip") bad("a tools-zip end without its start"); mode = ""; next }
        mode == "source" { next }
        mode == "tools-zip" && /-->/ { bad("a \"-->\" that ends the tools-zip comment early in the repository") }
        /<!--/ { bad("an HTML comment that is no marker") }
        # Blank lines wait for the next text: around a dropped passage they become one, and
        # none is left at the end of a page.
        $0 == "" { blank++; next }
        { if (gap && blank > 1) blank = 1; for (; blank > 0; blank--) print ""; gap = 0; print }
        END { if (!failed && mode != "") bad("a " mode " passage is never closed") }
    ' "$root/docs/$1.md"
}
for page in windows-tools studio settings layout-files textures scenario trace install; do
    kit_page "$page" > "$kit/docs/$page.md" || fail "docs/$page.md: its markers are wrong, see above (the tools zip was not written)"
done
cp "$root"/docs/examples/*.json "$kit/examples/"
cp "$kit/kell-hud/licenses/"* "$root"/tools/licenses/* "$kit/licenses/"
sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' "$root/assets/modder-tools-README.txt" > "$kit/README.txt"
# Pictures the kit's pages show come along from docs/; any other relative link must lead
# to a file the kit holds, or a Windows modder meets a dead link.
kit_real="$(cd "$kit" && pwd -P)"
for page in "$kit"/docs/*.md; do
    while IFS= read -r target; do
        file="${target%%#*}"
        if [[ "$file" =~ ^[A-Za-z0-9_/-]+\.(png|jpg|gif|svg)$ ]] && [ -f "$root/docs/$file" ]; then
            mkdir -p "$kit/docs/$(dirname "$file")"
            cp "$root/docs/$file" "$kit/docs/$file"
        fi
        case "$(realpath -m "$kit/docs/$file")" in
        "$kit_real"/*) [ -f "$kit/docs/$file" ] ;;
        *) false ;;
        esac || fail "docs/$(basename "$page") links to \"$target\", which the tools zip does not hold: put the passage between <!-- source --> and <!-- /source -->, or pack the file (the tools zip was not written)"
    done < <({ grep -o '](\([^)[:space:]]*\))' "$page" | sed 's/^](//; s/)$//'
               grep -o '<img [^>]*src="[^"]*"' "$page" | sed 's/.*src="//; s/"$//'; } |
             grep -Ev '^([A-Za-z][A-Za-z0-9+.-]*:|#)' || true)
done
toolszip="$(cd "$out" && pwd)/KellHud-$version-modder-tools-win32.zip"
rm -f "$toolszip"
(cd "$stage/tools" && zip -q -r -X "$toolszip" KellHud-modder-tools)
echo "$toolszip"
