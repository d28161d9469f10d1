#!/usr/bin/env bash
# Every test: set up, build both targets, then run the tests of the simulated build
# plainly, the fuzzing harnesses briefly, and the tests under AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
ctest --preset sim
# The fuzzing harnesses, a fixed number of runs each over their corpus (after the sim build:
# the dictionary harness starts from the shipped dictionaries too).
bash scripts/fuzz.sh --ci
cmake --preset sim-asan >/dev/null
# Only what the tests run (not the benchmark).
cmake --build --preset sim-asan -j"$(nproc)" --target unit_tests e2e_tests
ctest --preset sim-asan
