#!/usr/bin/env bash
# Builds the Windows DLL and the simulated build, and assembles dist/: what a player
# copies into the game folder.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset win32 >/dev/null
cmake --build --preset win32 -j"$(nproc)"
cmake --preset sim >/dev/null
cmake --build --preset sim -j"$(nproc)"

rm -rf dist
mkdir -p dist
cp build/win32/KellHud.asi dist/
cp -r assets/kell-hud dist/
bash scripts/check-dll.sh dist/KellHud.asi
