#!/usr/bin/env bash
# Every test: set up, build both targets, then run the tests of the simulated build
# plainly and under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
ctest --preset sim
cmake --preset sim-asan >/dev/null
cmake --build --preset sim-asan -j"$(nproc)"
ctest --preset sim-asan
