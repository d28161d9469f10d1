#!/usr/bin/env bash
# Instructions the plug-in spends per host frame, counted by callgrind (deterministic, unlike
# time on a shared machine): the exclusive instructions inside KellHud.so plus the libm it
# calls, for docs/examples/busy.json and for radar_bench's radar scenario (100 blips with
# level markers, a 2000-node route).
#
#   bash scripts/perf.sh [BUILD]      (BUILD: a sim build folder, default build/sim)
#
# Each scenario runs twice, with N and 2N frames; the difference divided by N is one frame's
# cost without the start-up and unload. Needs valgrind able to run 32-bit programs (a kernel
# that runs them natively); elsewhere (e.g. qemu-user) it says so and exits 0.
[[ "${1:-}" == --help || "${1:-}" == -h ]] && { sed -n '2,/^[^#]/s/^# \{0,1\}//p' "$0"; exit 0; } # the comment above
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/sim}
frames=${PERF_FRAMES:-100}

for file in "$build/KellHud.so" "$build/kellhud-sim" "$build/radar_bench"; do
    [ -f "$file" ] || { echo "perf: $file is missing (build the sim preset first)" >&2; exit 2; }
done
if ! command -v valgrind >/dev/null; then
    echo "perf: valgrind is not installed; no instruction counts measured"
    exit 0
fi
if ! valgrind --tool=none -q "$build/kellhud-sim" --help >/dev/null 2>&1; then
    echo "perf: valgrind cannot run the 32-bit programs here (no native 32-bit kernel support?);" \
         "no instruction counts measured"
    exit 0
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The self cost of every function in the objects matching KellHud.so or libm, summed within
# one callgrind output. Of several outputs (radar_bench forks a child for each run) the
# largest: the runs with the plug-in (with and without the simulated host's bookkeeping) run
# the same plug-in code; the others hold only the simulated host's libm calls.
cost() {
    python3 - "$@" <<'EOF'
import re, sys
best = 0
for path in sys.argv[1:]:
    total = 0
    names = {}
    obj = ''
    skip = False
    with open(path) as f:
        for line in f:
            if line.startswith(('ob=', 'cob=')):
                # Names are compressed: "(id) name" the first time, "(id)" after, in
                # either form of line.
                m = re.match(r'c?ob=(\(\d+\))?\s*(.*)', line.rstrip('\n'))
                key, name = m.group(1), m.group(2)
                if name:
                    names[key] = name
                if line.startswith('ob='):
                    obj = names.get(key, name)
            elif line.startswith('calls='):
                skip = True  # the next cost line is the call's inclusive cost
            elif line[:1].isdigit() or line[:1] in '+-*':
                if skip:
                    skip = False
                    continue
                if re.search(r'KellHud\.so$|/libm[.-]', obj):
                    total += int(line.split()[-1])
    best = max(best, total)
print(best)
EOF
}

# One scenario: COMMAND... run with --frames N and 2N under callgrind; prints per frame.
perFrame() {
    local label=$1
    shift
    local counts=()
    for n in "$frames" $((2 * frames)); do
        rm -f "$work"/cg.*
        (cd "$work" && valgrind --tool=callgrind -q --callgrind-out-file="$work/cg.%p" "$@" --frames "$n" \
            >/dev/null 2>"$work/stderr") || { cat "$work/stderr" >&2; echo "perf: $label failed" >&2; exit 1; }
        counts+=("$(cost "$work"/cg.*)")
    done
    printf '%-28s %10d instructions per frame (KellHud.so + libm)\n' "$label:" \
        $(((counts[1] - counts[0]) / frames))
}

echo "perf: $(uname -m), $(grep -m1 'model name' /proc/cpuinfo 2>/dev/null | cut -d: -f2 | sed 's/^ //')"
perFrame "busy.json" "$build/kellhud-sim" --plugin-dir "$root/assets" --scenario "$root/docs/examples/busy.json"
perFrame "radar_bench scenario" "$build/radar_bench" --plugin-dir "$root/assets"
