#!/usr/bin/env bash
# Every test: set up, build both targets, then run the tests of the simulated build
# plainly, the fuzzing harnesses briefly, and the tests under AddressSanitizer and
# UndefinedBehaviorSanitizer. Each step says how long it took.
#
#   bash scripts/test.sh
[[ "${1:-}" == --help || "${1:-}" == -h ]] && { sed -n '2,/^[^#]/s/^# \{0,1\}//p' "$0"; exit 0; } # the comment above
set -euo pipefail
cd "$(dirname "$0")/.."

step() {
    local start=$SECONDS
    "$@"
    echo "test: $* took $((SECONDS - start)) s" >&2
}

step bash scripts/setup.sh
step bash scripts/build.sh
step ctest --preset sim
# The fuzzing harnesses, a fixed number of runs each over their corpus (after the sim build:
# the dictionary harness starts from the shipped dictionaries too).
step bash scripts/fuzz.sh --ci
step cmake --preset sim-asan >/dev/null
# Only what the tests run (not the benchmark).
step cmake --build --preset sim-asan -j"$(nproc)" --target unit_tests e2e_tests
step ctest --preset sim-asan
