#!/usr/bin/env bash
# The layer check catches a climbing include in the simulated host: on a copy of the tree's
# C++ files that passes it, one include of the host's frame from the host image's memory
# (the two-way hub the layers took apart) must fail the check, naming the file.
#
#   bash tests/check_layers_test.sh SOURCE_DIR
set -euo pipefail
source_dir=$(cd "$1" && pwd)
copy=$(mktemp -d)
trap 'rm -rf "$copy"' EXIT

cd "$source_dir"
find src sim tools fuzz bench tests \( -name '*.h' -o -name '*.cpp' \) -type f -print0 | xargs -0 cp --parents -t "$copy"
cp --parents CMakeLists.txt cmake/windows-tools.cmake "$copy"

if ! bash scripts/check-layers.sh "$copy" >/dev/null; then
    echo "FAIL: the copy of the tree does not pass as it is" >&2
    exit 1
fi
echo '#include "host_frame.h"' >>"$copy/sim/host_image.cpp"
if output=$(bash scripts/check-layers.sh "$copy" 2>&1); then
    echo "FAIL: an include of sim:host from sim/host_image.cpp passed the check" >&2
    exit 1
fi
if ! grep -q '^sim/host_image.cpp:[0-9]*: .*host_frame.h' <<<"$output"; then
    echo "FAIL: the check failed without naming sim/host_image.cpp and its include:" >&2
    echo "$output" >&2
    exit 1
fi
echo "check-layers fails on sim/host_image.cpp including host_frame.h, as it should"
