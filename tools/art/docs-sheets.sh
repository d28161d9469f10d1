#!/usr/bin/env bash
# Redraws the contact sheets in docs/art/ from the rendered textures of a build:
#   docs-sheets.sh [BUILD-DIR]     (default build/sim)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
png=${1:-$root/build/sim}/art/png
sheet() { "$root/tools/art/contact-sheet.sh" "$root/docs/art/$1.png" "$2" "${@:3}"; }
mkdir -p "$root/docs/art"
sheet hud-and-radar 72 "$png"/hud/*.png "$png"/radar/*.png "$png"/mora/radar/*.png "$png"/sabel/radar/*.png
sheet blips 48 "$png"/blips/*.png
sheet weapons 56 "$png"/weapons/*.png
sheet radio 56 "$png"/radio_hud/*.png
sheet progress-bars 48 "$png"/progress_bars/*.png
