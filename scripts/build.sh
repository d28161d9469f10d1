#!/usr/bin/env bash
# Builds the Windows DLL, the Windows modders' tools and the simulated build, and assembles
# dist/: what a player copies into the game folder, the release archive and the modders'
# tools archive. dist/ is a build output, remade by every build; a modder works in a folder
# of their own (kellhud-sim --new-mod DIR).
#
#   bash scripts/build.sh
[[ "${1:-}" == --help || "${1:-}" == -h ]] && { sed -n '2,/^[^#]/s/^# \{0,1\}//p' "$0"; exit 0; } # the comment above
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset win32 >/dev/null
cmake --build --preset win32 -j"$(nproc)"
cmake --preset win32-tools >/dev/null
cmake --build --preset win32-tools -j"$(nproc)"
cmake --preset sim >/dev/null
cmake --build --preset sim -j"$(nproc)"

# What was in dist/kell-hud as the last build left it: anything changed since is someone's
# edit, kept aside instead of deleted.
manifest=dist/.kell-hud.sha256
listing() { (cd dist/kell-hud && find . -type f -print0 | sort -z | xargs -0 -r sha256sum); }
if [ -d dist/kell-hud ] && ! { [ -f "$manifest" ] && cmp -s "$manifest" <(listing); }; then
    kept="dist/kell-hud.edited-$(date +%Y%m%d-%H%M%S)"
    mv dist/kell-hud "$kept"
    echo "build: dist/kell-hud was changed after the last build; kept as $kept. dist/ is remade by every build:" \
         "make your own folder with build/sim/kellhud-sim --new-mod DIR and copy your edits there" >&2
fi

mkdir -p dist
rm -rf dist/kell-hud dist/KellHud.asi
cp build/win32/KellHud.asi dist/
cp -r build/sim/kell-hud dist/
listing > "$manifest"
cat > dist/DO-NOT-EDIT.txt <<'END'
dist/ is a build output: scripts/build.sh remakes it (KellHud.asi, kell-hud/ and the
release archive) from the sources on every build. To change the HUD, make a folder of
your own and work there:

    build/sim/kellhud-sim --new-mod ~/my-hud

It prints the commands to edit, preview, check and pack that folder (README.md,
"Make your own layout").
END
bash scripts/check-dll.sh dist/KellHud.asi
# The archive of this build (one of an older version would be stale).
rm -f dist/KellHud-*.zip
bash scripts/package.sh dist >/dev/null
