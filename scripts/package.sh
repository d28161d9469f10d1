#!/usr/bin/env bash
# Makes the release archive KellHud-<version>.zip, laid out as a player installs it: its
# root is what goes into the game folder (KellHud.asi, kell-hud/, KellHud-README.txt), with
# the licences under kell-hud/licenses/. The version is the project's, from
# CMakeLists.txt.
#
# usage: scripts/package.sh [OUT_DIR]     (default: dist/)
# Needs the Windows build (build/win32/KellHud.asi) and the texture dictionaries that the
# simulated build draws into assets/kell-hud/textures/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-$root/dist}"

fail() {
    echo "package.sh: $*" >&2
    exit 1
}

version="$(sed -n 's/^project(KellHud VERSION \([0-9][0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
[ -n "$version" ] || fail "no 'project(KellHud VERSION x.y.z ...)' line in $root/CMakeLists.txt"

asi="$root/build/win32/KellHud.asi"
[ -f "$asi" ] || fail "$asi is missing: build the Windows DLL first (scripts/build.sh, or cmake --preset win32 && cmake --build --preset win32)"
data="$root/assets/kell-hud"
[ -f "$data/settings.ini" ] || fail "$data/settings.ini is missing"
compgen -G "$data/textures/*.txd" >/dev/null ||
    fail "no texture dictionaries in $data/textures: build the simulated build first (cmake --preset sim && cmake --build --preset sim), it draws them"

stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
cp "$asi" "$stage/"
cp -r "$data" "$stage/kell-hud"
# Names of our own at the root: README.txt and LICENSES/ would collide with other mods'. The
# readme gets CRLF line ends, which every Windows editor shows as lines.
sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' "$root/assets/README.txt" > "$stage/KellHud-README.txt"
mkdir -p "$stage/kell-hud/licenses"
cp "$root/LICENSE" "$stage/kell-hud/licenses/KellHud-LICENSE.txt"
if [ -d "$root/LICENSES" ]; then
    cp "$root"/LICENSES/* "$stage/kell-hud/licenses/"
fi
entries=(KellHud.asi kell-hud KellHud-README.txt)

mkdir -p "$out"
zipfile="$(cd "$out" && pwd)/KellHud-$version.zip"
rm -f "$zipfile"
(cd "$stage" && zip -q -r -X "$zipfile" "${entries[@]}")
echo "$zipfile"
