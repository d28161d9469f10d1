#!/usr/bin/env bash
# Makes the release archive KellHud-<version>.zip, laid out as a player installs it: its
# root is what goes into the game folder (KellHud.asi, kell-hud/), with a readme for
# players and the licences of third-party art. The version is the project's, from
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
cp "$root/assets/README.txt" "$stage/README.txt"
entries=(KellHud.asi kell-hud README.txt)
if [ -d "$root/LICENSES" ]; then
    cp -r "$root/LICENSES" "$stage/LICENSES"
    entries+=(LICENSES)
fi

mkdir -p "$out"
zipfile="$(cd "$out" && pwd)/KellHud-$version.zip"
rm -f "$zipfile"
(cd "$stage" && zip -q -r -X "$zipfile" "${entries[@]}")
echo "$zipfile"
