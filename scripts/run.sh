#!/usr/bin/env bash
# Main job: set up, build both targets, assemble dist/ and the release archive, and run
# the plug-in in the simulated host over the shipped data files.
#
#   bash scripts/run.sh
[[ "${1:-}" == --help || "${1:-}" == -h ]] && { sed -n '2,/^[^#]/s/^# \{0,1\}//p' "$0"; exit 0; } # the comment above
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
archives="$(bash scripts/package.sh dist)"
zipfile="$(head -1 <<<"$archives")" toolszip="$(tail -1 <<<"$archives")"
# A busy scenario: names, cash window, weapon regimes, stars, a second player, F11.
./build/sim/kellhud-sim --plugin-dir dist --scenario docs/examples/busy.json

cat <<END

Built (dist/ is remade by every build: do not edit there):
  dist/KellHud.asi and dist/kell-hud/   the plug-in: copy both into the game folder (next to
                                        the game's executable, or where the .asi loader looks)
  dist/${zipfile##*/}            the same as a release: unzip it into the game folder
  dist/${toolszip##*/}
                                        kellhud-sim.exe and kellhud-txd.exe for Windows
                                        modders (docs/windows-tools.md)
  build/sim/KellHud.so                  the plug-in for the simulated host
  build/sim/kellhud-sim                 preview without the game

To make your own layout, start a folder of your own; it prints how to edit, preview,
check and pack it:
      build/sim/kellhud-sim --new-mod ~/my-hud
END
