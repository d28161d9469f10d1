#!/usr/bin/env bash
# How long the studio takes from a change to the new picture: starts kellhud-studio on a
# copy of the shipped folder and asks it for RUNS renders of the preview scenario at
# 1920x1080, each with the radar moved one unit further, as a drag does. Prints each
# render's time as the server measured it (its "ms") and the wall-clock time of the request,
# then the medians.
#
#   bash bench/studio-render.sh [BUILD_DIR] [RUNS]    (default build/sim, 5 runs)
[[ "${1:-}" == --help || "${1:-}" == -h ]] && { sed -n '2,/^[^#]/s/^# \{0,1\}//p' "$0"; exit 0; } # the comment above
set -euo pipefail
build=$(cd "${1:-$(dirname "$0")/../build/sim}" && pwd)
runs=${2:-5}
[ -x "$build/kellhud-studio" ] || { echo "studio-render: $build/kellhud-studio is missing: build the sim preset first" >&2; exit 1; }
work=$(mktemp -d)
trap 'kill "$studio" 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
cp -r "$build/kell-hud" "$work/"
"$build/kellhud-studio" --plugin-dir "$work" --no-browser >"$work/out.txt" 2>&1 &
studio=$!
for _ in $(seq 300); do grep -q "^Kell Hud Studio: " "$work/out.txt" && break; sleep 0.1; done
url=$(sed -n 's/^Kell Hud Studio: //p' "$work/out.txt")
[ -n "$url" ] || { echo "studio-render: the studio did not start: $(cat "$work/out.txt")" >&2; exit 1; }
python3 - "$url" "$runs" <<'END'
import json, statistics, sys, time, urllib.request
base, token = sys.argv[1].split("/?token=")
runs = int(sys.argv[2])
def render(x):
    body = {"changes": {"layout": {"HUD_RADAR_MAP": {"values": [x, 170, 100, 100]}}},
            "scenario": "preview", "width": 1920, "height": 1080}
    request = urllib.request.Request(base + "/api/render", data=json.dumps(body).encode(),
                                     headers={"X-Kell-Token": token})
    start = time.monotonic()
    answer = json.load(urllib.request.urlopen(request, timeout=600))
    return answer["ms"], (time.monotonic() - start) * 1000
render(170)  # the first render also copies the textures into the scratch folder
server, wall = [], []
for run in range(runs):
    ms, took = render(171 + run)
    server.append(ms)
    wall.append(took)
    print(f"render {run + 1}: {ms} ms in the studio, {took:.0f} ms for the request")
print(f"median of {runs}: {statistics.median(server):.0f} ms in the studio, {statistics.median(wall):.0f} ms for the request")
END
