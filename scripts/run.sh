#!/usr/bin/env bash
# Main job: set up, build both targets, assemble dist/, and run the plug-in in the
# simulated host over the shipped data files.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
# A busy scenario: names, cash window, weapon regimes, stars, a second player, F11.
./build/sim/kellhud-sim --plugin-dir dist --scenario docs/examples/busy.json
