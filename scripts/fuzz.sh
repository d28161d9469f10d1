#!/usr/bin/env bash
# The fuzzing harnesses (fuzz/README.md): built with clang, libFuzzer and the sanitizers
# into build/fuzz, apart from the gcc presets.
#
#   scripts/fuzz.sh --list                       the harnesses
#   scripts/fuzz.sh NAME SECONDS [OPTION...]     build, then fuzz one for that long
#   scripts/fuzz.sh --ci                         every harness, a fixed number of runs
#
# A run starts from the harness's corpus in fuzz/corpus/ and keeps what it finds in
# build/fuzz/found/NAME for the next run; an input that breaks the harness is written to
# build/fuzz/crashes/. Options after SECONDS go to libFuzzer: -fork=1 -ignore_crashes=1
# goes on past a fault for the whole time, -max_len=512 caps the input size.
set -euo pipefail
cd "$(dirname "$0")/.."

harnesses=(data_files data_check txd_read txd_write scenario)
# Runs per harness in CI: together about 8 CPU seconds on the machine they were tuned on,
# the build about 50 (the scenario reader's JSON code most of it). The readers', checker's
# and scenario harnesses are 32-bit, so a machine that runs 32-bit programs through qemu
# runs those ~10x slower.
declare -A ci_runs=([data_files]=1500 [data_check]=1000 [txd_read]=4000 [txd_write]=4000 [scenario]=2000)

usage() {
    echo "usage: scripts/fuzz.sh --list | --ci | NAME SECONDS [libFuzzer option...]" >&2
    exit 2
}

# Where 32-bit programs run through qemu-user (scripts/setup.sh registers it), the leak
# check at exit never ends: it stops the process's threads with ptrace, which qemu-user
# does not give. Leaks are looked for where the kernel runs the harnesses itself.
if [ -e /proc/sys/fs/binfmt_misc/kellhud-i386 ]; then
    export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
fi

build() {
    command -v clang++ >/dev/null || { echo "fuzz: clang++ is missing (bash scripts/setup.sh installs it)" >&2; exit 1; }
    cmake -S fuzz -B build/fuzz -DCMAKE_CXX_COMPILER=clang++ >/dev/null
    cmake --build build/fuzz -j"$(nproc)" >/dev/null
}

# The corpus directories of a harness, after the one new inputs go to.
corpora() {
    local name=$1 dir
    echo "fuzz/corpus/$name"
    case $name in
    data_check) echo fuzz/corpus/data_files ;;
    txd_read)
        # The shipped dictionaries the sim build drew, the smaller ones (a megabyte input
        # costs more than it finds).
        dir=build/fuzz/shipped-txd
        rm -rf "$dir"
        mkdir -p "$dir"
        find assets/kell-hud/textures -name '*.txd' -size -300k -exec cp {} "$dir/" \; 2>/dev/null || true
        echo "$dir"
        ;;
    esac
}

# Runs one harness; prints its executions.
run() {
    local name=$1 found=$2
    shift 2
    local log=build/fuzz/$name.log
    mkdir -p "$found" build/fuzz/crashes
    local status=0 before
    before=$(find build/fuzz/crashes -name "$name-*" | wc -l)
    # shellcheck disable=SC2046
    "build/fuzz/fuzz_$name" "$found" $(corpora "$name") -print_final_stats=1 \
        -artifact_prefix="build/fuzz/crashes/$name-" "$@" >"$log" 2>&1 || status=$?
    local runs
    # The final statistics, or in fork mode (-fork=1 -ignore_crashes=1) its last report.
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    [ -n "$runs" ] || runs=$(sed -n 's/^#\([0-9][0-9]*\): cov:.*/\1/p' "$log" | tail -1)
    # Fork mode goes on past a fault: count the inputs it kept.
    local faults=$(($(find build/fuzz/crashes -name "$name-*" | wc -l) - before))
    if [ "$status" -ne 0 ] || [ "$faults" -gt 0 ]; then
        grep -E "property broken|  seen:|ERROR: |SUMMARY|Test unit written" "$log" >&2 || tail -20 "$log" >&2
        echo "fuzz: $name broke after ${runs:-?} executions, $faults input(s) kept in build/fuzz/crashes (log: $log);" \
             "run one again with build/fuzz/fuzz_$name FILE" >&2
        return 1
    fi
    echo "fuzz: $name: ${runs:-?} executions, no fault"
}

[ $# -ge 1 ] || usage
case $1 in
--list)
    printf '%s\n' "${harnesses[@]}"
    ;;
--ci)
    build
    for name in "${harnesses[@]}"; do
        # A fixed seed and a fresh directory for new inputs: the same runs every time.
        rm -rf "build/fuzz/ci/$name"
        run "$name" "build/fuzz/ci/$name" -runs="${ci_runs[$name]}" -seed=1
    done
    ;;
*)
    [ $# -ge 2 ] || usage
    name=$1 seconds=$2
    shift 2
    [[ " ${harnesses[*]} " == *" $name "* ]] || { echo "fuzz: no harness $name; scripts/fuzz.sh --list names them" >&2; exit 2; }
    [[ $seconds =~ ^[0-9]+$ ]] || usage
    build
    run "$name" "build/fuzz/found/$name" -max_total_time="$seconds" "$@"
    ;;
esac
